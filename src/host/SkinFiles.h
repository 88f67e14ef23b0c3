#pragma once
// The skin folder's two files for the plug-in, read with distrust: the frame bitmap
// gen_mrlyrics.bmp (also the Lyrics button's) and the colour file gen_mrlyrics.txt.
// Win32 only.

#include <windows.h>

#include "base/WString.h"
#include "settings/SkinColors.h"
#include "host/ScopedHandles.h"

// A device-dependent bitmap made from a BMP file for compatibleWith (the DC it will
// be drawn on, or a window's DC); empty when the
// file is missing, cannot be read, is larger than kMaxBitmapFileBytes or is refused by
// IsUsableBitmapFile.
OwnedBitmap LoadBitmapFile(const WString& path, HDC compatibleWith);

// The six colours of a skin's gen_mrlyrics.txt; all unset when there is no such file.
// The file is only read.
SkinColorValues ReadSkinColors(const WString& txtPath);
