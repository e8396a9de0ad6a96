// Device contexts and GDI objects that the framework takes for the length of
// one operation, given back when the scope ends on every path: a context
// that is never released, or a font that is never deleted, leaks for the
// life of the process.
#pragma once

#include <windows.h>

// GetDC / ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hWnd) : m_hWnd(hWnd), m_hdc(GetDC(hWnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (m_hdc) ReleaseDC(m_hWnd, m_hdc);
  }
  HDC Get() const { return m_hdc; }

 private:
  HWND m_hWnd;
  HDC m_hdc;
};

// BeginPaint / EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND hWnd) : m_hWnd(hWnd) { BeginPaint(hWnd, &m_paint); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(m_hWnd, &m_paint); }
  HDC Get() const { return m_paint.hdc; }

 private:
  HWND m_hWnd;
  PAINTSTRUCT m_paint{};
};

// An object this code created; DeleteObject when the scope ends. It must no
// longer be selected into a context by then.
class ScopedGdiObject {
 public:
  explicit ScopedGdiObject(HGDIOBJ object) : m_object(object) {}
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
  ~ScopedGdiObject() {
    if (m_object) DeleteObject(m_object);
  }
  HGDIOBJ Get() const { return m_object; }

 private:
  HGDIOBJ m_object;
};

// Selects an object into a context and selects the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC hdc, HGDIOBJ object) : m_hdc(hdc), m_previous(SelectObject(hdc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (m_previous) SelectObject(m_hdc, m_previous);
  }

 private:
  HDC m_hdc;
  HGDIOBJ m_previous;
};

// SaveDC / RestoreDC: colours, modes and objects that a drawing step set in
// a context it was lent (an owner-drawn item's) are put back.
class SavedDC {
 public:
  explicit SavedDC(HDC hdc) : m_hdc(hdc), m_saved(SaveDC(hdc)) {}
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;
  ~SavedDC() {
    if (m_saved) RestoreDC(m_hdc, m_saved);
  }

 private:
  HDC m_hdc;
  int m_saved;
};
