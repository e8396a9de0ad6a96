#include "dialogbase/DialogTemplateBuilder.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <memory>

#include "dialogbase/DialogScaling.h"
#include "support/DebugLog.h"

static_assert(kDialogTemplateBlockSize % 4 == 0, "items are aligned within the block");

namespace {

// Writes the template into the block front to back and refuses, once and
// for all, any write that would pass its end.
class TemplateWriter {
 public:
  explicit TemplateWriter(BYTE* block) : m_block(block) {}

  void Word(WORD value) { Put(&value, sizeof value); }
  void DoubleWord(DWORD value) { Put(&value, sizeof value); }
  // Zero-terminated UTF-16; null writes the empty string, a single zero.
  void String(const wchar_t* text) {
    if (!text) text = L"";
    Put(text, (wcslen(text) + 1) * sizeof(wchar_t));
  }
  // Every DLGITEMTEMPLATE starts on a DWORD boundary; the block is zero, so
  // skipping is padding. The block's size is a multiple of 4: the padding
  // never passes its end.
  void AlignToDoubleWord() {
    if (!m_failed) m_used = (m_used + 3) & ~static_cast<size_t>(3);
  }
  void WordAt(size_t offset, WORD value) { std::memcpy(m_block + offset, &value, sizeof value); }
  // A converted table value, or a failure when it does not fit the signed
  // 16-bit field.
  void Converted(long value) {
    if (value > SHRT_MAX) m_failed = true;
    Word(static_cast<WORD>(value));
  }

  size_t Used() const { return m_used; }
  bool Failed() const { return m_failed; }

 private:
  void Put(const void* data, size_t size) {
    if (m_failed || size > kDialogTemplateBlockSize - m_used) {
      m_failed = true;
      return;
    }
    std::memcpy(m_block + m_used, data, size);
    m_used += size;
  }

  BYTE* m_block;
  size_t m_used = 0;
  bool m_failed = false;
};

// Where DLGTEMPLATE keeps its item count: after style and extended style.
constexpr size_t kItemCountOffset = 8;

// Owns the block while it is written; DialogTemplateBlock takes it over
// once the template is complete.
struct GlobalFreer {
  void operator()(BYTE* block) const { GlobalFree(block); }
};

}  // namespace

DialogBaseUnits SystemDialogBaseUnits() {
  const LONG units = GetDialogBaseUnits();
  return {LOWORD(units), HIWORD(units)};
}

long DialogUnitsAcross(WORD value, DialogBaseUnits units) {
  return static_cast<long>(value) * 8 / units.x;
}

long DialogUnitsDown(WORD value, DialogBaseUnits units) {
  return static_cast<long>(value) * 16 / units.y;
}

DialogTemplateBlock BuildDialogTemplate(int templateId) {
  return BuildDialogTemplate(templateId, SystemDialogBaseUnits());
}

DialogTemplateBlock BuildDialogTemplate(int templateId, DialogBaseUnits units) {
  const DialogHeaderRecord* header = FindDialogHeader(templateId);
  const DialogControlRecord* controls = FindDialogControls(templateId);
  if (!header || !controls) {
    DebugLog(L"BuildDialogTemplate: no table for template %i", templateId);
    return {};
  }
  return BuildDialogTemplate(*header, controls, units);
}

DialogTemplateBlock BuildDialogTemplate(const DialogHeaderRecord& header,
                                        const DialogControlRecord* controls,
                                        DialogBaseUnits units) {
  if (units.x <= 0 || units.y <= 0) return {};
  // GPTR: fixed and zero-filled, so the handle is the address and the
  // padding between items is already zero.
  std::unique_ptr<BYTE, GlobalFreer> block(
      static_cast<BYTE*>(GlobalAlloc(GPTR, kDialogTemplateBlockSize)));
  if (!block) {
    DebugLog(L"BuildDialogTemplate: GlobalAlloc failed, error %i",
             static_cast<int>(GetLastError()));
    return {};
  }
  TemplateWriter writer(block.get());
  writer.DoubleWord(header.style);
  writer.DoubleWord(0);
  writer.Word(0);
  // The position is where the dialog starts before it centres itself: not
  // converted.
  writer.Word(header.x);
  writer.Word(header.y);
  writer.Converted(DialogUnitsAcross(header.cx, units));
  writer.Converted(DialogUnitsDown(header.cy, units));
  writer.String(header.menu);
  writer.String(header.windowClass);
  writer.String(header.title);
  if (header.style & DS_SETFONT) {
    writer.Word(header.pointSize);
    writer.String(header.typeface);
  }
  WORD count = 0;
  for (const DialogControlRecord* control = controls; control && control->windowClass; ++control) {
    writer.AlignToDoubleWord();
    writer.DoubleWord(control->style | WS_CHILD);
    writer.DoubleWord(0);
    writer.Converted(DialogUnitsAcross(control->x, units));
    writer.Converted(DialogUnitsDown(control->y, units));
    writer.Converted(DialogUnitsAcross(control->cx, units));
    writer.Converted(DialogUnitsDown(control->cy, units));
    writer.Word(control->id);
    // Always the class's name, never the 0xFFFF ordinal form: the program's
    // own HotLinkText has no ordinal.
    writer.String(control->windowClass);
    writer.String(control->text);
    // No creation data.
    writer.Word(0);
    ++count;
  }
  if (writer.Failed()) {
    DebugLog(L"BuildDialogTemplate: the template \"%s\" does not fit", header.title);
    return {};
  }
  writer.WordAt(kItemCountOffset, count);
  return DialogTemplateBlock(block.release(), writer.Used());
}

INT_PTR RunTemplateDialog(HWND owner, int templateId, DLGPROC dialogProc, LPARAM param) {
  const DialogTemplateBlock block = BuildDialogTemplate(templateId);
  if (block) {
    const HINSTANCE instance =
        owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE))
              : GetModuleHandleW(nullptr);
    DialogScaling scaling(templateId, dialogProc, param);
    const INT_PTR result = DialogBoxIndirectParamW(instance, block.Get(), owner,
                                                   DialogScaling::Procedure,
                                                   reinterpret_cast<LPARAM>(&scaling));
    // -1: the system could not make the dialog or one of its controls. The
    // callers know one failure, 0, and so does the user.
    if (result != -1) return result;
    DebugLog(L"RunTemplateDialog: template %i: DialogBoxIndirectParamW failed, error %i",
             templateId, static_cast<int>(GetLastError()));
  }
  MessageBoxW(owner, L"Insufficient memory.", L"Dialog Box Error", MB_OK);
  return 0;
}

void CenterOverParent(HWND dialog) {
  RECT dialogRect;
  RECT parentRect;
  // GetWindowRect refuses a null window: without a parent nothing moves.
  if (!GetWindowRect(dialog, &dialogRect) || !GetWindowRect(GetParent(dialog), &parentRect))
    return;
  const int width = dialogRect.right - dialogRect.left;
  const int height = dialogRect.bottom - dialogRect.top;
  const int x = parentRect.left + ((parentRect.right - parentRect.left) - width) / 2;
  const int y = parentRect.top + ((parentRect.bottom - parentRect.top) - height) / 2;
  MoveWindow(dialog, x, y, width, height, FALSE);
}
