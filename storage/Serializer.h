// Writes one record file from start to end. The constructor opens the file,
// every put appends one value with one system call (a string two), the
// destructor closes it. Every failure throws ExceptionsSerializer; after a
// throw the object is only destroyed and the file stays as far as written.
// The same values can be laid out in memory instead, for a vault that is
// encrypted before it reaches the disk: the bytes are those of the file.
#pragma once

#include <string>

#include "storage/FileEntry.h"
#include "storage/SerializerInterface.h"
#include "support/ErrorCodes.h"
#include "support/WipedBytes.h"

class Serializer : public SerializerInterface, public SerializerErrorCodes {
 public:
  // Clears read-only, hidden and system attributes of an existing file, then
  // creates the file anew, truncating what was there. SR_FileNotFound when
  // it cannot be created.
  explicit Serializer(const std::wstring& fileName);
  // Appends to `memory`, which must outlive the writer; never throws.
  explicit Serializer(WipedBytes& memory) : m_Memory(&memory) {}
  Serializer(const Serializer&) = delete;
  Serializer& operator=(const Serializer&) = delete;
  ~Serializer() override;

  void PutLong(long value) override;
  void PutDouble(double value) override;
  // Scrambles a copy of the text and writes it with PutStringData.
  void PutString(const std::wstring& text) override;
  void PutBool(bool value) override;
  void PutStructure(const void* data, unsigned size) override;

  // The length in bytes as a long, then the units as they are.
  void PutStringData(const std::wstring& text);
  // `size` bytes as they are, in one call: a file made elsewhere.
  void PutBytes(const void* data, unsigned long size);

  // Forces everything written so far onto the medium (FlushFileBuffers), so
  // that a file the caller is about to rely on is really there.
  // SR_WriteFileFailed when the system cannot. Nothing in memory.
  void Flush();

 private:
  void WriteBytes(const void* data, unsigned long count);

  FileEntry m_FileEntry;
  WipedBytes* m_Memory = nullptr;
};
