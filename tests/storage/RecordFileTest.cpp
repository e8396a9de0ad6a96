#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/DeSerializer.h"
#include "storage/Serializer.h"
#include "support/ExceptionBase.h"
#include "support/ScopedHandle.h"
#include "tests/common/AllocationWatch.h"
#include "tests/common/TempFolder.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The scramble table as published for the vault format, kept here apart from
// the program's copy so that a changed table fails the known answers.
const unsigned kKey[13] = {0x6B2E, 0x13D7, 0xA941, 0x5C08, 0xE2F3, 0x0B9A, 0x7D64,
                           0xC1B5, 0x38E2, 0x9F1C, 0x24A7, 0xD05B, 0x4E86};

void Append(Bytes& bytes, std::initializer_list<unsigned> values) {
  for (unsigned v : values) bytes.push_back(static_cast<unsigned char>(v));
}

// A string as the tables say: the byte length, then each unit XOR'ed with
// the table entry of its position, low byte first.
Bytes ScrambledString(const std::wstring& text) {
  Bytes bytes;
  const unsigned length = static_cast<unsigned>(text.size() * 2);
  Append(bytes, {length & 0xFF, (length >> 8) & 0xFF, (length >> 16) & 0xFF, length >> 24});
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned unit = static_cast<unsigned>(text[i]) ^ kKey[i % 13];
    Append(bytes, {unit & 0xFF, unit >> 8});
  }
  return bytes;
}

class RecordFileTest : public ::testing::Test {
 protected:
  Bytes Written(const std::function<void(Serializer&)>& write) {
    {
      Serializer serializer(m_path);
      write(serializer);
    }
    return ReadBytes(m_path);
  }

  template <class Result>
  Result ReadFrom(const Bytes& bytes, const std::function<Result(DeSerializer&)>& read) {
    WriteBytes(m_path, bytes);
    DeSerializer deserializer(m_path);
    return read(deserializer);
  }

  // The code of the ExceptionsDeSerializer that reading `bytes` throws, or -1.
  int ReadFailure(const Bytes& bytes, const std::function<void(DeSerializer&)>& read) {
    WriteBytes(m_path, bytes);
    try {
      DeSerializer deserializer(m_path);
      read(deserializer);
    } catch (const ExceptionsDeSerializer& e) {
      return e.GetErrorCode();
    }
    return -1;
  }

  TempFolder m_folder;
  const std::wstring m_path = m_folder.File(L"values.dat");
};

}  // namespace

TEST_F(RecordFileTest, NumbersAreLittleEndian) {
  EXPECT_EQ(Written([](Serializer& s) { s.PutLong(0x12345678); }), (Bytes{0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(Written([](Serializer& s) { s.PutLong(-2); }), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Written([](Serializer& s) { s.PutDouble(1.0); }),
            (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
  EXPECT_EQ(Written([](Serializer& s) { s.PutDouble(-2.5); }),
            (Bytes{0, 0, 0, 0, 0, 0, 0x04, 0xC0}));
}

TEST_F(RecordFileTest, BoolsAreTwoMagicLongs) {
  EXPECT_EQ(Written([](Serializer& s) { s.PutBool(true); }), (Bytes{0xB2, 0xFA, 0xB1, 0xFA}));
  EXPECT_EQ(Written([](Serializer& s) { s.PutBool(false); }), (Bytes{0xD2, 0xBA, 0xD1, 0xBA}));
}

TEST_F(RecordFileTest, StructureIsItsSizeAndRawBytes) {
  const unsigned char raw[3] = {0x01, 0x02, 0xFF};
  EXPECT_EQ(Written([&](Serializer& s) { s.PutStructure(raw, 3); }),
            (Bytes{0x03, 0, 0, 0, 0x01, 0x02, 0xFF}));
  EXPECT_EQ(Written([&](Serializer& s) { s.PutStructure(raw, 0); }), (Bytes{0, 0, 0, 0}));
}

TEST_F(RecordFileTest, StringsAreScrambledFromTheTable) {
  EXPECT_EQ(Written([](Serializer& s) { s.PutString(L""); }), (Bytes{0, 0, 0, 0}));
  // a ^ 6B2E = 6B4F, b ^ 13D7 = 13B5, c ^ A941 = A922.
  EXPECT_EQ(Written([](Serializer& s) { s.PutString(L"abc"); }),
            (Bytes{0x06, 0, 0, 0, 0x4F, 0x6B, 0xB5, 0x13, 0x22, 0xA9}));
  // The 14th unit uses entry 0 again: both A's become 41 ^ 6B2E = 6B6F.
  const Bytes fourteen = Written([](Serializer& s) { s.PutString(std::wstring(14, L'A')); });
  ASSERT_EQ(fourteen.size(), 4u + 28u);
  EXPECT_EQ(fourteen[0], 28);
  EXPECT_EQ(Bytes(fourteen.begin() + 4, fourteen.begin() + 6), (Bytes{0x6F, 0x6B}));
  EXPECT_EQ(Bytes(fourteen.begin() + 30, fourteen.end()), (Bytes{0x6F, 0x6B}));
  EXPECT_EQ(fourteen, ScrambledString(std::wstring(14, L'A')));
}

TEST_F(RecordFileTest, EveryStringRestartsAtEntryZero) {
  Bytes expected = ScrambledString(L"ab");
  const Bytes second = ScrambledString(L"ab");
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(Written([](Serializer& s) {
              s.PutString(L"ab");
              s.PutString(L"ab");
            }),
            expected);
}

TEST_F(RecordFileTest, UnscrambledWriterAndReaderKeepUnitsAsTheyAre) {
  EXPECT_EQ(Written([](Serializer& s) { s.PutStringData(L"ab"); }),
            (Bytes{0x04, 0, 0, 0, 0x61, 0, 0x62, 0}));
  EXPECT_EQ(ReadFrom<std::wstring>(Bytes{0x04, 0, 0, 0, 0x61, 0, 0x62, 0},
                                   [](DeSerializer& d) { return d.GetStringData(); }),
            L"ab");
}

TEST_F(RecordFileTest, ZeroUnitsAreDataNotTerminators) {
  // A unit equal to its table entry scrambles to 0; a stored 0 unit
  // unscrambles to the table entry. Neither ends the string.
  const std::wstring tricky = {static_cast<wchar_t>(0x6B2E), L'\0', L'x'};
  const Bytes bytes = Written([&](Serializer& s) { s.PutString(tricky); });
  EXPECT_EQ(bytes, ScrambledString(tricky));
  EXPECT_EQ(bytes[4], 0);
  EXPECT_EQ(bytes[5], 0);
  EXPECT_EQ(ReadFrom<std::wstring>(bytes, [](DeSerializer& d) { return d.GetString(); }), tricky);
}

TEST_F(RecordFileTest, EverythingWrittenReadsBackInOrder) {
  const std::vector<std::wstring> texts = {
      L"", L"x", std::wstring(13, L'm'), std::wstring(14, L'n'), L"Caf\u00E9 \U0001F511 \u4E2D",
      std::wstring(5000, L'\u00FF'),
  };
  const unsigned char raw[4] = {9, 8, 7, 6};
  Written([&](Serializer& s) {
    s.PutLong(-123456);
    s.PutDouble(3.25);
    for (const std::wstring& text : texts) s.PutString(text);
    s.PutBool(true);
    s.PutBool(false);
    s.PutStructure(raw, 4);
    s.PutLong(42);
  });
  DeSerializer d(m_path);
  EXPECT_EQ(d.GetLong(), -123456);
  EXPECT_EQ(d.GetDouble(), 3.25);
  for (const std::wstring& text : texts) EXPECT_EQ(d.GetString(), text);
  EXPECT_TRUE(d.GetBool());
  EXPECT_FALSE(d.GetBool());
  long size = 0;
  d.GetSizeOfStructure(size);
  ASSERT_EQ(size, 4);
  unsigned char back[4] = {};
  d.GetStructure(back, 4);
  EXPECT_EQ(std::memcmp(back, raw, 4), 0);
  EXPECT_EQ(d.GetLong(), 42);
  EXPECT_EQ(d.BytesRemaining(), 0u);
}

TEST_F(RecordFileTest, ReadingPastTheEndFails) {
  for (size_t left = 0; left < 4; ++left) {
    EXPECT_EQ(ReadFailure(Bytes(left, 0x11), [](DeSerializer& d) { d.GetLong(); }),
              DeSerializer::DS_BytesReadIncorrect)
        << left << " bytes left";
  }
  EXPECT_EQ(ReadFailure(Bytes(7, 0), [](DeSerializer& d) { d.GetDouble(); }),
            DeSerializer::DS_BytesReadIncorrect);
  EXPECT_EQ(ReadFailure(Bytes{3, 0, 0, 0, 1, 2},
                        [](DeSerializer& d) {
                          long size = 0;
                          d.GetSizeOfStructure(size);
                          unsigned char buffer[3];
                          d.GetStructure(buffer, 3);
                        }),
            DeSerializer::DS_BytesReadIncorrect);
}

TEST_F(RecordFileTest, OnlyTheTwoBoolValuesAreValid) {
  EXPECT_EQ(ReadFailure(Bytes{1, 0, 0, 0}, [](DeSerializer& d) { d.GetBool(); }),
            DeSerializer::DS_BoolCorrupted);
  EXPECT_EQ(ReadFailure(Bytes{0xB2, 0xFA, 0xB1, 0xFB}, [](DeSerializer& d) { d.GetBool(); }),
            DeSerializer::DS_BoolCorrupted);
  EXPECT_EQ(ReadFailure(Bytes{0xB2, 0xFA}, [](DeSerializer& d) { d.GetBool(); }),
            DeSerializer::DS_BytesReadIncorrect);
}

TEST_F(RecordFileTest, StringLengthsBeyondTheFileFail) {
  const struct {
    Bytes bytes;
    const char* what;
  } cases[] = {
      {{0xFE, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4}, "negative"},
      {{0x0A, 0, 0, 0, 1, 2, 3, 4}, "longer than the rest"},
      {{0x00, 0, 0, 0x80, 1, 2}, "2 GB"},
      {{0xFE, 0xFF, 0xFF, 0x7F}, "just under 2 GB, nothing after"},
      {{0x06, 0}, "cut inside the length"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadFailure(c.bytes, [](DeSerializer& d) { d.GetString(); }),
              DeSerializer::DS_BytesReadIncorrect)
        << c.what;
  }
}

TEST_F(RecordFileTest, HugeClaimedLengthReservesNoMemory) {
  AllocationWatch watch;
  const int failure = ReadFailure(Bytes{0xFE, 0xFF, 0xFF, 0x7F, 'a', 0},
                                  [](DeSerializer& d) { d.GetString(); });
  watch.Stop();
  EXPECT_EQ(failure, DeSerializer::DS_BytesReadIncorrect);
  EXPECT_LT(watch.Largest(), 4096u);
}

TEST_F(RecordFileTest, OddLengthIsConsumedWholeAndItsLastByteDropped) {
  // Length 5: two whole units (scrambled "ab") and one stray byte, then 42.
  Bytes bytes{0x05, 0, 0, 0};
  const Bytes ab = ScrambledString(L"ab");
  bytes.insert(bytes.end(), ab.begin() + 4, ab.end());
  Append(bytes, {0x99, 42, 0, 0, 0});
  WriteBytes(m_path, bytes);
  DeSerializer d(m_path);
  EXPECT_EQ(d.GetString(), L"ab");
  EXPECT_EQ(d.GetLong(), 42);
}

TEST_F(RecordFileTest, MissingFileOrFolderFailsToOpen) {
  try {
    DeSerializer d(m_folder.File(L"missing.dat"));
    ADD_FAILURE() << "opened a missing file";
  } catch (const ExceptionsDeSerializer& e) {
    EXPECT_EQ(e.GetErrorCode(), DeSerializer::DS_FileNotFound);
  }
  try {
    Serializer s(m_folder.File(L"no-folder\\values.dat"));
    ADD_FAILURE() << "created a file in a missing folder";
  } catch (const ExceptionsSerializer& e) {
    EXPECT_EQ(e.GetErrorCode(), Serializer::SR_FileNotFound);
  }
}

TEST_F(RecordFileTest, WritesOverReadOnlyAndHiddenFiles) {
  const DWORD marks[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
  for (DWORD mark : marks) {
    SCOPED_TRACE(mark);
    WriteBytes(m_path, Bytes(100, 0xAA));
    ASSERT_TRUE(SetFileAttributesW(m_path.c_str(), mark));
    EXPECT_EQ(Written([](Serializer& s) { s.PutLong(7); }), (Bytes{7, 0, 0, 0}));
    const DWORD attributes = GetFileAttributesW(m_path.c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              0u);
  }
}

TEST_F(RecordFileTest, OpenWriterKeepsReadersOut) {
  Serializer s(m_path);
  s.PutLong(1);
  try {
    DeSerializer d(m_path);
    ADD_FAILURE() << "read a file that is being written";
  } catch (const ExceptionsDeSerializer& e) {
    EXPECT_EQ(e.GetErrorCode(), DeSerializer::DS_FileNotFound);
  }
}

TEST_F(RecordFileTest, OpenReaderLetsOthersReadButNotWrite) {
  WriteBytes(m_path, Bytes{5, 0, 0, 0});
  DeSerializer d(m_path);
  DeSerializer second(m_path);
  EXPECT_EQ(second.GetLong(), 5);
  ScopedHandle other(CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(other.IsValid());
  ScopedHandle writer(CreateFileW(m_path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
  EXPECT_FALSE(writer.IsValid());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  try {
    Serializer s(m_path);
    ADD_FAILURE() << "wrote a file that is being read";
  } catch (const ExceptionsSerializer& e) {
    EXPECT_EQ(e.GetErrorCode(), Serializer::SR_FileNotFound);
  }
  EXPECT_EQ(d.GetLong(), 5);
}

TEST_F(RecordFileTest, FailedWriteIsWriteFileFailed) {
  // Wine maps Z: to the Unix root; /dev/full opens and fails every write.
  try {
    Serializer s(L"Z:\\dev\\full");
    s.PutLong(1);
    ADD_FAILURE() << "a write to a full device succeeded";
  } catch (const ExceptionsSerializer& e) {
    EXPECT_EQ(e.GetErrorCode(), Serializer::SR_WriteFileFailed);
  }
}
