// The client setup program in the temporary folder: where it is downloaded to and how it is run.
#pragma once

#include <string>

// The temporary folder (with its separator) + "QuillmereLoginSetup.exe": where the setup is
// downloaded to, run from and deleted from. Fixed for the process at first use.
const std::wstring& installerPath();

// installerPath() when a file exists there, else the empty string.
std::wstring localInstallerPath();

// " /host=" + the progress window's handle as a signed decimal + " /msgId=" + the message number
// the setup reports its progress with (kSetupProgressMessage, 32774).
std::wstring windowHandleArguments();

// The setup's command line: localInstallerPath() in quotation marks, one blank, then
// "/VERYSILENT /SUPPRESSMSGBOXES" when `silent`, " /startedFromQsl" and windowHandleArguments().
// (The path is quoted: a temporary folder under a user name with a blank would otherwise start
// the wrong program or none.)
std::wstring installerCommandLine(bool silent);
