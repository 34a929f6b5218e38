#include "utils/DownloadStatus_win.h"

#include <utility>

DownloadStatus::DownloadStatus(ProgressCallback progressCallback)
    : callback(std::move(progressCallback)) {}

DownloadStatus::~DownloadStatus() = default;

HRESULT DownloadStatus::QueryInterface(REFIID, void**) { return E_NOTIMPL; }
ULONG DownloadStatus::AddRef() { return 0; }
ULONG DownloadStatus::Release() { return 0; }
HRESULT DownloadStatus::OnStartBinding(DWORD, IBinding*) { return E_NOTIMPL; }
HRESULT DownloadStatus::GetPriority(LONG*) { return E_NOTIMPL; }
HRESULT DownloadStatus::OnLowResource(DWORD) { return E_NOTIMPL; }
HRESULT DownloadStatus::OnStopBinding(HRESULT, LPCWSTR) { return E_NOTIMPL; }
HRESULT DownloadStatus::GetBindInfo(DWORD*, BINDINFO*) { return E_NOTIMPL; }
HRESULT DownloadStatus::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }
HRESULT DownloadStatus::OnObjectAvailable(REFIID, IUnknown*) { return E_NOTIMPL; }

HRESULT DownloadStatus::OnProgress(ULONG currentProgress, ULONG currentMax, ULONG status,
                                   LPCWSTR /*statusText*/) {
  if (status == BINDSTATUS_ENDDOWNLOADDATA) {
    progress = currentProgress;
    statusCode = status;
    progressMax = currentMax;
  }
  if (callback && status == BINDSTATUS_DOWNLOADINGDATA) {
    callback(currentProgress, currentMax);
  }
  return S_OK;
}

bool DownloadStatus::completed() const {
  return statusCode == BINDSTATUS_ENDDOWNLOADDATA && progress == progressMax;
}
