#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "support/ResourceIds.h"
#include "tests/app/ModuleResource.h"
#include "ui/ScopedGdi.h"

namespace {

// 16 and 32 at 100%, 125%, 150% and 200% display scale, and 256.
constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

// One image of the icon group: GRPICONDIRENTRY, 14 bytes each after the
// 6-byte header.
struct GroupEntry {
  int width;  // the byte 0 of the format means 256
  int height;
  int bitCount;
  DWORD bytes;
  WORD id;
};

std::vector<unsigned char> IconGroup() {
  return ModuleResource(MAKEINTRESOURCEW(IDI_KEYFOLIO), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
}

std::vector<GroupEntry> GroupEntries(const std::vector<unsigned char>& group) {
  std::vector<GroupEntry> entries;
  const int count = ReadLittle<WORD>(group, 4);
  for (int i = 0; i < count; ++i) {
    const size_t at = 6 + 14 * i;
    const int width = group.at(at) ? group.at(at) : 256;
    const int height = group.at(at + 1) ? group.at(at + 1) : 256;
    entries.push_back({width, height, ReadLittle<WORD>(group, at + 6),
                       ReadLittle<DWORD>(group, at + 8), ReadLittle<WORD>(group, at + 12)});
  }
  return entries;
}

// A bitmap's pixels as top-down 32-bit BGRA; empty when they cannot be read.
std::vector<RGBQUAD> TopDownPixels(HGDIOBJ bitmap, int width, int height) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<RGBQUAD> pixels(width * height);
  WindowDC screen(nullptr);
  if (GetDIBits(screen.Get(), static_cast<HBITMAP>(bitmap), 0, height, pixels.data(), &format,
                DIB_RGB_COLORS) != height) {
    return {};
  }
  return pixels;
}

class IconSize : public testing::TestWithParam<int> {};

}  // namespace

TEST(IconResource, GroupHoldsAnImageForEachScaleAt32Bits) {
  const std::vector<unsigned char> group = IconGroup();
  ASSERT_GE(group.size(), 6u);
  EXPECT_EQ(ReadLittle<WORD>(group, 0), 0);
  EXPECT_EQ(ReadLittle<WORD>(group, 2), 1) << "an icon, not a cursor";
  std::vector<GroupEntry> entries = GroupEntries(group);
  ASSERT_EQ(group.size(), 6 + 14 * entries.size());
  std::vector<int> sizes;
  for (const GroupEntry& entry : entries) {
    SCOPED_TRACE(entry.width);
    sizes.push_back(entry.width);
    EXPECT_EQ(entry.height, entry.width);
    EXPECT_EQ(entry.bitCount, 32);
    EXPECT_EQ(ModuleResource(MAKEINTRESOURCEW(entry.id), MAKEINTRESOURCEW(3)).size(),  // RT_ICON
              entry.bytes);
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, std::vector<int>(std::begin(kIconSizes), std::end(kIconSizes)));
}

// 256 as PNG; the small ones as bitmaps that systems without alpha can also
// draw: where the picture is clear the AND mask must cut it out, where it is
// solid the mask must keep it.
TEST(IconResource, LargeImageIsPngAndSmallOnesAreBitmapsWhoseMaskFollowsTheirAlpha) {
  for (const GroupEntry& entry : GroupEntries(IconGroup())) {
    SCOPED_TRACE(entry.width);
    const std::vector<unsigned char> image =
        ModuleResource(MAKEINTRESOURCEW(entry.id), MAKEINTRESOURCEW(3));
    ASSERT_GE(image.size(), 40u);
    if (entry.width == 256) {
      const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
      EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), image.begin()));
      const auto bigEndian = [&](size_t at) {
        return image[at] << 24 | image[at + 1] << 16 | image[at + 2] << 8 | image[at + 3];
      };
      EXPECT_EQ(bigEndian(16), 256);
      EXPECT_EQ(bigEndian(20), 256);
      EXPECT_EQ(image[25], 6) << "RGBA";
      continue;
    }
    const int size = entry.width;
    EXPECT_EQ(ReadLittle<DWORD>(image, 0), 40u);
    EXPECT_EQ(ReadLittle<LONG>(image, 4), size);
    EXPECT_EQ(ReadLittle<LONG>(image, 8), 2 * size) << "colours and mask";
    EXPECT_EQ(ReadLittle<WORD>(image, 14), 32);
    EXPECT_EQ(ReadLittle<DWORD>(image, 16), static_cast<DWORD>(BI_RGB));
    const size_t maskStride = (size + 31) / 32 * 4;
    const size_t colours = 40;
    const size_t mask = colours + size * size * 4;
    ASSERT_EQ(image.size(), mask + maskStride * size);
    int clear = 0, solid = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const unsigned alpha = image[colours + (y * size + x) * 4 + 3];
        const bool cutOut = image[mask + y * maskStride + x / 8] & (0x80 >> (x % 8));
        if (alpha == 0) {
          ++clear;
          EXPECT_TRUE(cutOut) << x << ", " << y;
        } else if (alpha == 255) {
          ++solid;
          EXPECT_FALSE(cutOut) << x << ", " << y;
        }
      }
    }
    EXPECT_GT(clear, 0);
    EXPECT_GT(solid, size * size / 4) << "a picture, not a faint shadow";
  }
}

// The system picks the image drawn for each size, not one scaled from
// another, and loads it with its alpha: clear corners, a solid middle.
TEST_P(IconSize, LoadsAtExactlyItsSizeFromItsOwnImage) {
  const int size = GetParam();
  const std::vector<unsigned char> group = IconGroup();
  ASSERT_FALSE(group.empty());
  const int chosen = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data()), TRUE, size,
                                                 size, LR_DEFAULTCOLOR);
  const std::vector<GroupEntry> entries = GroupEntries(group);
  const auto drawn = std::find_if(entries.begin(), entries.end(),
                                  [&](const GroupEntry& entry) { return entry.width == size; });
  ASSERT_NE(drawn, entries.end());
  EXPECT_EQ(chosen, drawn->id);

  const HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                   MAKEINTRESOURCEW(IDI_KEYFOLIO), IMAGE_ICON,
                                                   size, size, LR_CREATEDIBSECTION));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  ScopedGdiObject colour(info.hbmColor);
  ScopedGdiObject mask(info.hbmMask);
  ASSERT_NE(info.hbmColor, nullptr) << "a colour icon";
  BITMAP bitmap{};
  ASSERT_EQ(GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap), static_cast<int>(sizeof(bitmap)));
  EXPECT_EQ(bitmap.bmWidth, size);
  EXPECT_EQ(bitmap.bmHeight, size);

  const std::vector<RGBQUAD> pixels = TopDownPixels(info.hbmColor, size, size);
  DestroyIcon(icon);
  ASSERT_EQ(pixels.size(), static_cast<size_t>(size * size));
  const auto at = [&](int x, int y) { return pixels[y * size + x].rgbReserved; };
  EXPECT_EQ(at(0, 0), 0);
  EXPECT_EQ(at(0, size - 1), 0);
  EXPECT_EQ(at(size / 2, size / 2), 255);
}

INSTANTIATE_TEST_SUITE_P(IconResource, IconSize, testing::ValuesIn(kIconSizes),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Pixels" + std::to_string(info.param);
                         });

TEST(BitmapResource, EditButtonIsTwentyByFortyWithAPressedImageBelowTheNormalOne) {
  ScopedGdiObject image(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_EDITBUTTON),
                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(image.Get(), nullptr);
  BITMAP bitmap{};
  ASSERT_EQ(GetObjectW(image.Get(), sizeof(bitmap), &bitmap), static_cast<int>(sizeof(bitmap)));
  EXPECT_EQ(bitmap.bmWidth, 20);
  EXPECT_EQ(bitmap.bmHeight, 40);

  const std::vector<RGBQUAD> pixels = TopDownPixels(image.Get(), 20, 40);
  ASSERT_EQ(pixels.size(), 800u);
  const auto colour = [](const RGBQUAD& pixel) {
    return RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue);
  };
  std::vector<COLORREF> normal, pressed;
  std::transform(pixels.begin(), pixels.begin() + 400, std::back_inserter(normal), colour);
  std::transform(pixels.begin() + 400, pixels.end(), std::back_inserter(pressed), colour);
  EXPECT_NE(normal, pressed);
  // Each image is drawn: its edges and its glyph stand out from its face.
  for (const std::vector<COLORREF>* half : {&normal, &pressed}) {
    const COLORREF face = (*half)[10 * 20 + 2];
    EXPECT_GT(std::count_if(half->begin(), half->end(),
                            [&](COLORREF pixel) { return pixel != face; }),
              100);
  }
}
