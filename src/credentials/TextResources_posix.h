// The program's "TEXT" resources on POSIX: the same scrambled bytes as the Windows resources,
// compiled in (the generated TextResources_posix.cpp defines the table).
#pragma once

#include "credentials/EmbeddedText.h"

// Ends with an entry whose name is null.
extern const EmbeddedText kTextResources[];
