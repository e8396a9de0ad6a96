// A fresh folder under the system's temporary folder, removed with all it
// holds (read-only and hidden files too) when the object goes.
#pragma once

#include <string>
#include <vector>

class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  // The folder, with no trailing backslash.
  const std::wstring& Path() const { return m_path; }
  // Path() + "\" + name.
  std::wstring File(const std::wstring& name) const;

 private:
  std::wstring m_path;
};

// Removes a file or a whole folder tree, whatever its attributes.
void RemoveTree(const std::wstring& path);

std::vector<unsigned char> ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);
bool FileExists(const std::wstring& path);
