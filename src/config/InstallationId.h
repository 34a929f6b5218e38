// The installation identifier: a UUID that names this installation in every telemetry event,
// shared with the client through the registry. It is never kept in memory.
#pragma once

#include <string>

// The identifier from the first of these places that holds a non-empty "InstallationId":
// HKEY_LOCAL_MACHINE main key, HKEY_CURRENT_USER main key, HKEY_LOCAL_MACHINE legacy key,
// HKEY_CURRENT_USER legacy key (RegistryKeys.h). Empty when none does.
std::wstring readInstallationId();

// Makes a new random identifier and writes it as "InstallationId" under HKEY_CURRENT_USER, main
// key (created when missing). Write failures are ignored; when the platform cannot make a UUID,
// nothing is written (the next run tries again).
void createInstallationId();

// A new random (version 4) UUID in its 36-character lower-case form 8-4-4-4-12 without braces;
// empty when the platform cannot make one. Windows: UuidCreate and UuidToStringW.
std::wstring newRandomUuid();
