// The task-bar button's progress. Its methods fail before the shell has made the button, so the
// interface is taken only once the shell says so; until then, and wherever the interface is
// missing, the model's state is simply not shown.
#include "toolkit/win32/taskbar.h"

#include "toolkit/core/application.h"
#include "toolkit/win32/com.h"

namespace toolkit::win32 {

TaskbarButton::~TaskbarButton() {
  if (list_ != nullptr) list_->Release();
}

UINT TaskbarButton::CreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarButtonCreated");
  return message;
}

void TaskbarButton::ButtonCreated(HWND window) {
  window_ = window;
  if (list_ == nullptr) {
    StartCom();
    ITaskbarList3* list = nullptr;
    // __uuidof rather than libuuid's CLSID_ and IID_ objects, which bring a few hundred more.
    if (FAILED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(ITaskbarList3), reinterpret_cast<void**>(&list)))) {
      return;
    }
    if (FAILED(list->HrInit())) {
      list->Release();
      return;
    }
    list_ = list;
  }
  ProgressChanged();
}

void TaskbarButton::ProgressChanged() {
  if (list_ == nullptr) return;
  const TaskbarProgress& progress = Application::Get().Taskbar();
  // A failing call changes nothing on the button, and nothing else depends on it.
  switch (progress.State()) {
    case ProgressState::None:
      list_->SetProgressState(window_, TBPF_NOPROGRESS);
      break;
    case ProgressState::Indeterminate:
      list_->SetProgressState(window_, TBPF_INDETERMINATE);
      break;
    case ProgressState::Normal:
      list_->SetProgressState(window_, TBPF_NORMAL);
      list_->SetProgressValue(window_, progress.Done(), progress.Total());
      break;
    case ProgressState::Error:
      list_->SetProgressState(window_, TBPF_ERROR);
      list_->SetProgressValue(window_, progress.Done(), progress.Total());
      break;
  }
}

}  // namespace toolkit::win32
