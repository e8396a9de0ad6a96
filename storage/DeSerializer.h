// Reads one record file from start to end, the twin of Serializer. It trusts
// no count in the file further than the file reaches: a string length larger
// than what remains fails before any memory is reserved for it, so any bytes
// at all can be handed to it. Every failure throws ExceptionsDeSerializer.
// It reads the bytes of a record file held in memory just the same: a vault
// that was decrypted.
#pragma once

#include <string>

#include "storage/DeSerializerInterface.h"
#include "storage/FileEntry.h"
#include "support/ErrorCodes.h"

class DeSerializer : public DeSerializerInterface, public DeSerializerErrorCodes {
 public:
  // Opens an existing file, waiting out another program's hold on it for a
  // moment (HeldFile.h): DS_FileNotFound when it is missing or refused,
  // DS_InvalidFileSize when its size cannot be had.
  explicit DeSerializer(const std::wstring& fileName);
  // Reads the `size` bytes at `data`, which must outlive the reader; the
  // end of them is the end of the file.
  DeSerializer(const unsigned char* data, unsigned long size) : m_Memory(data), m_FileSize(size) {}
  DeSerializer(const DeSerializer&) = delete;
  DeSerializer& operator=(const DeSerializer&) = delete;
  ~DeSerializer() override;

  long GetLong() override;
  double GetDouble() override;
  // Reads with GetStringData and unscrambles.
  std::wstring GetString() override;
  bool GetBool() override;
  void GetSizeOfStructure(long& size) override;
  void GetStructure(void* buffer, unsigned size) override;

  // The length long, then that many bytes as they are. An odd length is
  // consumed whole and its last byte dropped.
  std::wstring GetStringData();

  // Bytes of the file not yet read: 0 exactly when the reader stands at the
  // clean end of the file.
  unsigned long BytesRemaining() const { return m_FileSize - m_BytesConsumed; }

 private:
  void ReadBytes(void* buffer, unsigned long count);

  FileEntry m_FileEntry;
  const unsigned char* m_Memory = nullptr;
  unsigned long m_FileSize = 0;
  unsigned long m_BytesConsumed = 0;
};
