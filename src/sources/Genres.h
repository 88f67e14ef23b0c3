#pragma once
// Genre numbers as ID3v1 tags and "(n)" ID3v2 genre texts give them: the player's
// list of 148 names followed by four of our own, 152 in all.

#include "base/WString.h"

constexpr int kGenreCount = 152;

// The name of genre number n; empty for a number outside 0..151.
WString GenreName(int number);

// A genre text of the form "(digits)" becomes the name of that number: 0..151 the
// table's name, 152..255 empty (an ID3v1 "no genre"). Anything else, a larger
// number included, stays as it is.
WString NormaliseGenre(const WString& genre);
