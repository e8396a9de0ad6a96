// How fast the Find Site dialog follows a keystroke with a large vault: the
// time from a character typed into its field to its list drawn again (the
// search, the list filled, the list painted), at 10,000 sites, against the
// time to fill the main window's drop-down list with the same titles, the
// fill that every add, edit and delete does, measured in the same run. The
// dialog is the program's own, run modally over a window that holds a
// drop-down list like the main window's; the keystroke is the WM_CHAR that
// the message loop makes of a key, sent to the field, and the drawing is
// done at once (RDW_UPDATENOW) instead of when the loop next finds the
// queue empty. The vault is made by the tests' vault writer and loaded as
// at start-up.
//
// One reference row more shows what the fill's two choices save: the same
// lines added to the dialog's list while it draws itself after each.
//
//   build/wine-run build/benchmarks/find_benchmark.exe
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/MainWindowLayout.h"
#include "benchmarks/BenchmarkVault.h"
#include "benchmarks/Figures.h"
#include "benchmarks/Samples.h"
#include "dialogbase/DialogTemplates.h"
#include "dialogs/FindSiteDialog.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "support/SystemLibrary.h"
#include "ui/FontManager.h"

namespace {

constexpr int kSites = 10000;
constexpr int kRounds = 21;
constexpr double kAim = 2.0;

struct Keystroke {
  const char* what;
  std::wstring before;
  wchar_t key;
  size_t sites;  // listed after it
  Samples times;
};

struct Measured {
  std::vector<Keystroke> keystrokes;
  Samples dropDown;
  Samples drawingAsItFills;
  std::string failure;
};

Measured* g_measured = nullptr;

// As the program does before its main window: common controls 6, which the
// manifest asks for.
void InitCommonControlsFromSystem() {
  const auto init = SystemLibrary::Function<decltype(&InitCommonControlsEx)>(
      L"comctl32.dll", "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  if (!init || !init(&classes)) throw std::runtime_error("no common controls");
}

HWND MakeMainWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = L"FindBenchmarkMain";
  RegisterClassW(&windowClass);
  const HWND main =
      CreateWindowExW(0, windowClass.lpszClassName, L"Main window",
                      WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 100, 100, MainWindowLayout::kWidth,
                      MainWindowLayout::kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!main) throw std::runtime_error("the main window could not be made");
  return main;
}

// At the program's place at 96 DPI, the scale the benchmark runs at.
HWND MakeSiteList(HWND main) {
  const MainWindowLayout::Place& place = MainWindowLayout::kSiteList;
  const HWND list = CreateWindowExW(0, L"combobox", nullptr, MainWindowLayout::kSiteListStyle,
                                    place.x, place.y, place.width, place.height, main, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
  SendMessageW(list, WM_SETFONT,
               reinterpret_cast<WPARAM>(FontManager::GetInstance().GetFontHandle(0)), TRUE);
  return list;
}

void DrawNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Handles whatever waits (a repaint, a timer) outside the times taken.
void Settle(HWND window) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  DrawNow(window);
}

void TypeInto(HWND dialog, const std::wstring& before) {
  const HWND field = GetDlgItem(dialog, IDC_FIND_TEXT);
  SetWindowTextW(field, before.c_str());
  SendMessageW(field, EM_SETSEL, before.size(), before.size());
  Settle(dialog);
}

size_t Lines(HWND dialog) {
  return static_cast<size_t>(SendDlgItemMessageW(dialog, IDC_FIND_LIST, LB_GETCOUNT, 0, 0));
}

// The keystroke on the text before it: the search, the fill and the paint.
double TimeKeystroke(HWND dialog, const Keystroke& keystroke) {
  TypeInto(dialog, keystroke.before);
  const HWND field = GetDlgItem(dialog, IDC_FIND_TEXT);
  const double start = Now();
  SendMessageW(field, WM_CHAR, keystroke.key, 1);
  DrawNow(dialog);
  const double ms = (Now() - start) * 1000;
  const size_t expected = keystroke.sites ? keystroke.sites : 1;  // or the line saying so
  if (Lines(dialog) != expected) throw std::runtime_error("a keystroke listed other sites");
  return ms;
}

double TimeDropDownFill(HWND main, HWND siteList) {
  Settle(main);
  const double start = Now();
  DatabasePasswordSet::GetInstance().FillCombobox(siteList);
  DrawNow(main);
  return (Now() - start) * 1000;
}

// Every site's line added with the list drawing itself after each, and no
// room made beforehand: the fill without its two choices.
double TimeFillDrawingAsItGoes(HWND dialog) {
  TypeInto(dialog, L"");
  const HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
  std::vector<std::wstring> lines;
  for (const PasswordRecStruct& site : DatabasePasswordSet::GetInstance().Records())
    lines.push_back(site.m_SiteTitle + L"\t" + site.m_UserName);
  const double start = Now();
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::wstring& line : lines)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  DrawNow(dialog);
  return (Now() - start) * 1000;
}

HWND FindDialogOfThisThread() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM parameter) -> BOOL {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring(className) != L"#32770") return TRUE;
        *reinterpret_cast<HWND*>(parameter) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Runs in the dialog's modal loop, once: every measurement, then the end.
void CALLBACK MeasureInDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const HWND dialog = FindDialogOfThisThread();
  const HWND main = GetWindow(dialog, GW_OWNER);
  const HWND siteList = GetWindow(main, GW_CHILD);
  try {
    for (int round = 0; round < kRounds; ++round) {
      g_measured->dropDown.Add(TimeDropDownFill(main, siteList));
      for (Keystroke& keystroke : g_measured->keystrokes)
        keystroke.times.Add(TimeKeystroke(dialog, keystroke));
      g_measured->drawingAsItFills.Add(TimeFillDrawingAsItGoes(dialog));
    }
  } catch (const std::exception& e) {
    g_measured->failure = e.what();
  }
  EndDialog(dialog, IDCANCEL);
}

void Report(const Measured& measured) {
  const double reference = measured.dropDown.Median();
  std::printf("Find Site at %s sites: from a keystroke in its field to its list drawn "
              "(search, fill, paint), against filling the main window's drop-down list with "
              "the same titles, measured in turn; ms, median (fastest-slowest) of %d.\n\n",
              Grouped(kSites).c_str(), kRounds);
  std::printf("| field before | key | sites listed | keystroke to list drawn, ms | ratio | "
              "aim <= %.0f |\n|---|---|--:|--:|--:|---|\n",
              kAim);
  for (const Keystroke& keystroke : measured.keystrokes) {
    const double ratio = keystroke.times.Median() / reference;
    const std::string before(keystroke.before.begin(), keystroke.before.end());
    const std::string key =
        keystroke.key == L'\b' ? "Backspace" : std::string(1, static_cast<char>(keystroke.key));
    std::printf("| \"%s\" | %s | %s | %s | %s | %s |\n", before.c_str(), key.c_str(),
                Grouped(keystroke.sites).c_str(), Cell(keystroke.times).c_str(),
                Ratio(ratio).c_str(), Met(ratio <= kAim));
  }
  std::printf("| drop-down list filled (the reference) | | %s | %s | 1.00 | |\n",
              Grouped(kSites).c_str(), Cell(measured.dropDown).c_str());
  std::printf("| every line added while the list draws itself, no room made first | | %s | %s "
              "| %s | |\n",
              Grouped(kSites).c_str(), Cell(measured.drawingAsItFills).c_str(),
              Ratio(measured.drawingAsItFills.Median() / reference).c_str());
}

}  // namespace

int main() {
  try {
    SystemLibrary::RestrictSearchToSystemFolder();
    InitCommonControlsFromSystem();
    const VaultFolder vault(BenchmarkVault(kSites));
    if (!EditorUpdater::GetInstance().DeSerialize() ||
        DatabasePasswordSet::GetInstance().Count() != static_cast<size_t>(kSites))
      throw std::runtime_error("the benchmark vault did not load whole");
    const HWND main = MakeMainWindow();
    FontManager::GetInstance().CreateFonts(main);
    MakeSiteList(main);
    InitDialogTemplates();

    Measured measured;
    // "Site 009" is in 1,000 titles, "Site 00999" in 10; every site's
    // address holds an e.
    measured.keystrokes = {
        {"every site", L"", L'e', kSites, {}},
        {"back to every site", L"e", L'\b', kSites, {}},
        {"a thousand", L"site 00", L'9', 1000, {}},
        {"ten", L"site 0099", L'9', 10, {}},
        {"none", L"zebr", L'a', 0, {}},
    };
    g_measured = &measured;
    SetTimer(nullptr, 0, 1, MeasureInDialog);
    const FindSiteDialog dialog(main);
    if (!measured.failure.empty()) throw std::runtime_error(measured.failure);
    if (measured.dropDown.Count() != kRounds) throw std::runtime_error("the dialog did not run");
    Report(measured);
    DestroyWindow(main);
  } catch (const std::exception& e) {
    std::printf("\nThe benchmark stopped: %s\n", e.what());
    return 1;
  }
  return 0;
}
