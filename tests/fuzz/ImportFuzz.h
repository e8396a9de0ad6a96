// Files to import: the first lines of every export that Keyfolio knows and
// one it knows by the usual names alone, rows of awkward texts (separators,
// quotes, line breaks, letters beyond ASCII, half characters), in UTF-8 with
// or without a byte-order mark or in UTF-16 of either order, with commas,
// semicolons or tabs and any line end; half of them then mutated: bytes
// flipped, quotes and zero bytes put in, every line end made CR, a huge
// field, thousands of columns, broken UTF-8 and UTF-16, marks in the middle,
// rows repeated, the end cut off.
//
// Of a file made whole, every password must come out exactly in the
// password of its site and in no other text; of any file that reads, the
// import must do what its preview said, and an export of the sites it added
// must import as they are.
#pragma once

#include "tests/fuzz/FuzzTarget.h"

class ImportFuzz : public FuzzTarget {
 public:
  std::string Name() const override { return "import"; }
  FuzzInput Make(FuzzRandom& random) override;
  std::string Check(const FuzzInput& input) override;
};
