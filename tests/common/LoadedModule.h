// A program file or DLL loaded into the test's process as `flags` say
// (LoadLibraryExW), as data or as an image whose code never runs; freed when
// the object goes.
#pragma once

#include <windows.h>

#include <string>

class LoadedModule {
 public:
  LoadedModule(const std::wstring& path, DWORD flags)
      : m_module(LoadLibraryExW(path.c_str(), nullptr, flags)) {}
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  ~LoadedModule() {
    if (m_module) FreeLibrary(m_module);
  }
  // Null when the file could not be loaded.
  HMODULE Get() const { return m_module; }

 private:
  HMODULE m_module;
};
