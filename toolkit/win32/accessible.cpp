// The shared side of our accessible objects.
#include "toolkit/win32/accessible.h"

namespace toolkit::win32 {

HRESULT AccessibleObject::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG AccessibleObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG AccessibleObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
  return E_NOTIMPL;
}

LRESULT AnswerGetObject(IAccessible* object, WPARAM wParam) {
  // Once per process, on the one thread our windows live on, and kept to the end: only a
  // screen reader's request gets here, and it will ask again.
  static const bool started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (!started || object == nullptr) return 0;
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
  return result > 0 ? result : 0;
}

void ReleaseAccessible(IAccessible* object) {
  if (object == nullptr) return;
  CoDisconnectObject(object, 0);
  object->Release();
}

std::wstring WideOf(std::string_view text, UINT codePage) {
  std::wstring wide;
  if (text.empty()) return wide;
  // No character of a code page, UTF-8 included, is more wide characters than it has bytes.
  wide.resize(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         &wide[0], static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(length > 0 ? length : 0));
  return wide;
}

BSTR BstrOf(const std::wstring& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace toolkit::win32
