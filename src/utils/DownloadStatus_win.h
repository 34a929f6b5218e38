// The minimal IBindStatusCallback that a system download passes to URLDownloadToFileW: it
// forwards progress and remembers whether the end of the data arrived with every expected byte.
#pragma once

#include <windows.h>
#include <urlmon.h>

#include <cstdint>

#include "utils/DownloadTypes.h"

// Owned by the one download that creates it, not by reference counting: AddRef and Release count
// nothing and never delete. Every operation but OnProgress answers E_NOTIMPL.
class DownloadStatus : public IBindStatusCallback {
public:
  explicit DownloadStatus(ProgressCallback callback);
  virtual ~DownloadStatus();
  DownloadStatus(const DownloadStatus&) = delete;
  DownloadStatus& operator=(const DownloadStatus&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override;
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override;
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override;
  // Records an end-of-data notification (status 6) and passes every data notification (status 5)
  // to the callback as (progress, maximum). Returns S_OK.
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                       LPCWSTR statusText) override;
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override;
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override;
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override;
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override;

  // True when the last end-of-data notification reported as much progress as its maximum.
  bool completed() const;

private:
  std::uint32_t progress = 0;    // of the last end-of-data notification
  std::uint32_t statusCode = 0;  // of that notification: 6 once one arrived
  std::uint32_t progressMax = 0; // of that notification
  ProgressCallback callback;
};
