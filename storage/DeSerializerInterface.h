// The record file reader's operations, the twins of SerializerInterface's.
#pragma once

#include <string>

static_assert(sizeof(long) == 4, "record file longs are 32 bits");

class DeSerializerInterface {
 public:
  virtual ~DeSerializerInterface() = default;
  virtual long GetLong() = 0;
  virtual double GetDouble() = 0;
  virtual std::wstring GetString() = 0;
  virtual bool GetBool() = 0;
  virtual void GetSizeOfStructure(long& size) = 0;
  virtual void GetStructure(void* buffer, unsigned size) = 0;
};
