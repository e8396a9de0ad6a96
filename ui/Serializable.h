// An object that writes its state into the record file and reads it back.
// The record file has no tags, so what is read is defined only by the order
// in which the owner calls its parts' Serialize and DeSerialize.
#pragma once

class SerializerInterface;
class DeSerializerInterface;

class Serializable {
 public:
  virtual void Serialize(SerializerInterface& serializer) = 0;
  virtual void DeSerialize(DeSerializerInterface& deserializer) = 0;

 protected:
  ~Serializable() = default;
};
