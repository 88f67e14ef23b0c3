#pragma once
// Colours of outlined text in a surface's own pixel format. In 15- and 16-bit modes
// neighbouring colours share a pixel value, so an edge colour may be the text colour
// once drawn, and a fill colour (the transparent key) may be either: such colours
// are moved to a near colour whose pixel value is different.

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "karaoke/core/OutlineDilation.h"

// The pixel value a colour (0x00BBGGRR) takes in the surface's format.
using PixelValueOf = std::function<uint32_t(uint32_t colour)>;

// `wanted`, or the nearest of a few colours around it whose pixel value is none of
// `avoid`; `wanted` itself when none is.
uint32_t NearColourWithOtherPixel(uint32_t wanted, std::initializer_list<uint32_t> avoid, const PixelValueOf& pixelOf);

// The text and edge pixel values of a colour pair, the edge moved off the text's
// value when both fall on one. `mask` covers the bits of a pixel that hold colour.
OutlineColours PairColours(uint32_t text, uint32_t edge, uint32_t mask, const PixelValueOf& pixelOf);

// A fill (the transparent key) near `nearColour` whose pixel value is none of the
// text and edge values of the (one or two) pairs; sets it into each pair.
void ChooseFill(uint32_t nearColour, std::initializer_list<OutlineColours*> pairs, const PixelValueOf& pixelOf);
