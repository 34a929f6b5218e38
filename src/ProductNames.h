// Names the installer shares with the client: its company folder and its product key name.
#pragma once

// The company's folder name, in registry keys and under local application data.
inline constexpr const wchar_t* kCompanyName = L"Quillworks";
// The client's product key name, in its registry key and its log folder.
inline constexpr const wchar_t* kProductKeyName = L"QuillmereClient";
