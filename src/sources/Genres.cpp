#include "sources/Genres.h"

namespace {

// Spelled exactly as the player shows them, misspellings included: users' files
// and skins were matched against these names.
const char* const kGenreNames[kGenreCount] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop",  // 0
    "Jazz", "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap",                 // 8
    "Reggae", "Rock", "Techno", "Industrial", "Alternative", "Ska", "Death Metal",      // 16
    "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal",              // 23
    "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House",      // 29
    "Game", "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk",      // 36
    "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic",           // 44
    "Gothic", "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance",   // 49
    "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap",   // 55
    "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic",      // 62
    "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz",        // 68
    "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock", "Folk", "Folk-Rock",       // 75
    "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival", "Celtic",     // 82
    "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock",   // 89
    "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",  // 94
    "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony",      // 100
    "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam", "Club", "Tango",       // 107
    "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle",        // 114
    "Duet", "Punk Rock", "Drum Solo", "A Cappella", "Euro-House", "Dance Hall", "Goa",  // 120
    "Drum & Bass", "Club-House", "Hardcore", "Terror", "Indie", "BritPop",              // 127
    "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap", "Heaby Metal",          // 133
    "Black Metal", "Crossover", "Contemporary Christian", "Christian Rock", "Merengue",  // 138
    "Salsa", "Thrash Metal", "Anime", "JPop", "Synthpop",                               // 143
    "Seiyu", "TechnoAmbient", "MoeMoe", "Tokusatsu",                                    // 148
};

// Digits beyond this many are a number no table holds; the text stays.
constexpr size_t kMaxGenreDigits = 9;

}  // namespace

WString GenreName(int number) {
  if (number < 0 || number >= kGenreCount) return WString();
  WString name;
  name.AppendAscii(kGenreNames[number]);
  return name;
}

WString NormaliseGenre(const WString& genre) {
  size_t length = genre.Length();
  if (length < 3 || genre[0] != u'(' || genre[length - 1] != u')') return genre;
  size_t digits = length - 2;
  long number = 0;
  for (size_t i = 1; i <= digits; ++i) {
    WChar c = genre[i];
    if (c < u'0' || c > u'9') return genre;
    if (i <= kMaxGenreDigits) number = number * 10 + (c - u'0');
  }
  if (digits > kMaxGenreDigits || number > 255) return genre;
  return GenreName(static_cast<int>(number));
}
