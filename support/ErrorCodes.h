// The codes of the file and window exceptions. Each set is a struct of its
// own so that the class that raises the codes can inherit it and name them as
// its members (Serializer::SR_FileNotFound) without the exception classes,
// which only map codes to report lines, depending on that class.
#pragma once

struct EditorErrorCodes {
  enum EditorError {
    ED_FileNotFound = 0,
    ED_WriteFileFailed = 1,
    ED_WrongVersionType = 2,
    ED_WrongVersionNumber = 3,
    ED_InvalidGraphicsID = 4,
    ED_FontNameIDOutOfRange = 5,
    ED_FontSizeOutOfRange = 6,
  };
};

struct EditWindowErrorCodes {
  enum EditWindowError {
    EW_CreateFailed = 0,
  };
};

struct SerializerErrorCodes {
  enum SerializerError {
    SR_FileNotFound = 0,
    SR_WriteFileFailed = 1,
    SR_BytesWrittenIncorrect = 2,
  };
};

struct DeSerializerErrorCodes {
  enum DeSerializerError {
    DS_FileNotFound = 0,
    DS_InvalidFileSize = 1,
    DS_ReadFileFailed = 2,
    DS_BytesReadIncorrect = 3,
    DS_BoolCorrupted = 4,
  };
};
