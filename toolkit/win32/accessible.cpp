// The shared side of our accessible objects, and a system control's object with our name on it.
#include "toolkit/win32/accessible.h"

#include "toolkit/win32/com.h"

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
  if (!StartCom() || object == nullptr) return 0;
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

NamedClientObject* NamedClientObject::Create(HWND hwnd, const std::string& codePageName) {
  IAccessible* system = nullptr;
  if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&system)))) {
    return nullptr;
  }
  return new NamedClientObject(system, WideOf(codePageName, CP_ACP));
}

NamedClientObject::~NamedClientObject() { system_->Release(); }

HRESULT NamedClientObject::get_accName(VARIANT child, BSTR* name) {
  if (name == nullptr) return E_POINTER;
  if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return system_->get_accName(child, name);
  *name = BstrOf(name_);
  return *name != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Everything else is the system's.
HRESULT NamedClientObject::get_accParent(IDispatch** parent) {
  return system_->get_accParent(parent);
}
HRESULT NamedClientObject::get_accChildCount(long* count) {
  return system_->get_accChildCount(count);
}
HRESULT NamedClientObject::get_accChild(VARIANT child, IDispatch** object) {
  return system_->get_accChild(child, object);
}
HRESULT NamedClientObject::get_accValue(VARIANT child, BSTR* value) {
  return system_->get_accValue(child, value);
}
HRESULT NamedClientObject::get_accDescription(VARIANT child, BSTR* text) {
  return system_->get_accDescription(child, text);
}
HRESULT NamedClientObject::get_accRole(VARIANT child, VARIANT* role) {
  return system_->get_accRole(child, role);
}
HRESULT NamedClientObject::get_accState(VARIANT child, VARIANT* state) {
  return system_->get_accState(child, state);
}
HRESULT NamedClientObject::get_accHelp(VARIANT child, BSTR* text) {
  return system_->get_accHelp(child, text);
}
HRESULT NamedClientObject::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  return system_->get_accHelpTopic(file, child, topic);
}
HRESULT NamedClientObject::get_accKeyboardShortcut(VARIANT child, BSTR* text) {
  return system_->get_accKeyboardShortcut(child, text);
}
HRESULT NamedClientObject::get_accFocus(VARIANT* child) { return system_->get_accFocus(child); }
HRESULT NamedClientObject::get_accSelection(VARIANT* children) {
  return system_->get_accSelection(children);
}
HRESULT NamedClientObject::get_accDefaultAction(VARIANT child, BSTR* text) {
  return system_->get_accDefaultAction(child, text);
}
HRESULT NamedClientObject::accSelect(long flags, VARIANT child) {
  return system_->accSelect(flags, child);
}
HRESULT NamedClientObject::accLocation(long* left, long* top, long* width, long* height,
                                       VARIANT child) {
  return system_->accLocation(left, top, width, height, child);
}
HRESULT NamedClientObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
  return system_->accNavigate(direction, start, end);
}
HRESULT NamedClientObject::accHitTest(long x, long y, VARIANT* child) {
  return system_->accHitTest(x, y, child);
}
HRESULT NamedClientObject::accDoDefaultAction(VARIANT child) {
  return system_->accDoDefaultAction(child);
}

}  // namespace toolkit::win32
