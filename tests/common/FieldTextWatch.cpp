#include "tests/common/FieldTextWatch.h"

namespace {

const wchar_t kWatchProperty[] = L"KfoFieldTextWatch";

bool NoneInPlace(const std::wstring& text, const std::wstring& secret) {
  for (size_t i = 0; i < secret.size(); ++i)
    if (text[i] == secret[i]) return false;
  return true;
}

}  // namespace

FieldTextWatch::~FieldTextWatch() {
  if (m_field && !m_destroyed) {
    SetWindowLongPtrW(m_field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
    RemovePropW(m_field, kWatchProperty);
  }
}

void FieldTextWatch::Attach(HWND field) {
  m_field = field;
  SetPropW(field, kWatchProperty, this);
  m_previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
  Record();
}

// Read through the control's own procedure, past this one.
void FieldTextWatch::Record() {
  const LRESULT length = CallWindowProcW(m_previous, m_field, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = CallWindowProcW(m_previous, m_field, WM_GETTEXT, text.size(),
                                         reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(copied));
  if (m_texts.empty() || m_texts.back() != text) m_texts.push_back(text);
}

LRESULT CALLBACK FieldTextWatch::Procedure(HWND field, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto* watch = static_cast<FieldTextWatch*>(GetPropW(field, kWatchProperty));
  if (message == WM_DESTROY) {
    watch->Record();
    watch->m_destroyed = true;
    RemovePropW(field, kWatchProperty);
    SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch->m_previous));
    return CallWindowProcW(watch->m_previous, field, message, wParam, lParam);
  }
  const LRESULT result = CallWindowProcW(watch->m_previous, field, message, wParam, lParam);
  if (message != WM_GETTEXT && message != WM_GETTEXTLENGTH) watch->Record();
  return result;
}

bool FieldTextWatch::OverwrittenInPlace(const std::wstring& secret) const {
  if (m_destroyed && !m_texts.back().empty()) return false;
  bool seen = false;
  for (size_t i = 0; i < m_texts.size(); ++i) {
    if (m_texts[i] != secret) continue;
    seen = true;
    size_t next = i + 1;
    while (next < m_texts.size() && m_texts[next].size() == secret.size()) ++next;
    if (next == i + 1 || next == m_texts.size() || !m_texts[next].empty() ||
        !NoneInPlace(m_texts[next - 1], secret))
      return false;
  }
  return seen;
}
