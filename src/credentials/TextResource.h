// The raw bytes of a "TEXT" resource of the running program.
#pragma once

#include <string>

// The bytes of the resource of type "TEXT" named `name` in the program's own module
// (FindResourceW, LoadResource, LockResource, SizeofResource on Windows; the bytes compiled into
// the program elsewhere). Empty when the resource is missing, cannot be loaded or has size 0.
std::string moduleTextResource(const std::wstring& name);
