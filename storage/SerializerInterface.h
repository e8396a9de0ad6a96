// The record file writer's operations. A file is a plain sequence of typed
// values: what a value means comes only from the order of the calls, so a
// writer and its reader call the same operations in the same sequence.
#pragma once

#include <string>

static_assert(sizeof(long) == 4, "record file longs are 32 bits");

class SerializerInterface {
 public:
  virtual ~SerializerInterface() = default;
  virtual void PutLong(long value) = 0;
  virtual void PutDouble(double value) = 0;
  virtual void PutString(const std::wstring& text) = 0;
  virtual void PutBool(bool value) = 0;
  virtual void PutStructure(const void* data, unsigned size) = 0;
};
