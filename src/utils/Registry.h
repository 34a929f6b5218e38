// String values in the registry, always in its 32-bit view; failures read as the empty string.
#pragma once

#include <string>

// The two registry roots the installer uses.
enum class RegistryRoot { LocalMachine, CurrentUser };

// Registry reads take at most this many characters (a zero-filled buffer of 520 bytes holding
// the terminating zero).
constexpr std::size_t kRegistryValueMaxChars = 259;

// The value `name` of key `keyPath` under `root`, up to its first zero character and at most
// kRegistryValueMaxChars characters; empty when the key or value cannot be read. The stored type
// is not checked.
std::wstring readRegistryString(RegistryRoot root, const std::wstring& keyPath,
                                const std::wstring& name);

// Writes `value` as REG_SZ (its UTF-16 units, without a terminating zero) to value `name` of key
// `keyPath` under `root`, creating the key when missing. Failures are ignored.
void writeRegistryString(RegistryRoot root, const std::wstring& keyPath, const std::wstring& name,
                         const std::wstring& value);
