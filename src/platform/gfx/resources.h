// The program's embedded resources: named bitmaps drawn by the program
// itself, and raw data resources (RCDATA) registered by name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"

// A bitmap resource by name (compared without regard to case); nil when the
// program has none of that name. Known names: "ASGLEAFCLOSE", "ASGLEAFOPEN"
// (12 x 12 node boxes with a plus and a minus), "XPNODEC", "XPNODEO" (10 x 10
// node arrows, right and down), "PsgSpinUp", "PsgSpinDown" (9 x 6 spin
// arrows); each on a teal background. The pictures of images/ by their file
// names: "GrafMoney" (a banknote, 100 x 88), "GrafDefaultImage" (8 x 8), the
// smileys "GrafEqualSmile", "GrafGreaterSmile", "GrafLowerSmile" and the
// hands "GrafEqualHand", "GrafGreaterHand", "GrafLowerHand" (16 x 16), each
// on white with at most 16 colours; and those drawn by
// scripts/draw-bitmaps.py: the chart editor's brush patterns "GrafBrush1" ..
// "GrafBrush12" (16 x 16, one bit a pixel), textures "GrafTextureMetal",
// "GrafTextureWood", "GrafTextureStone" (16 x 16) and "GrafTextureClouds",
// "GrafTextureGrass", "GrafTextureFire", "GrafTextureSnow" (32 x 32), and
// two-glyph strips on teal: "GrafArrowUp", "GrafArrowDown" (2 x 12 x 12) and
// the navigator's "GrafNav_First" .. "GrafNav_Cancel" (2 x 11 x 11); and the
// commander bar's "GrafNormal", "GrafRotate", "GrafMove", "GrafZoom",
// "GrafDepth", "GrafView3D", "GrafEdit", "GrafPrint", "GrafCopy", "GrafSave"
// (16 x 16 on teal).
std::unique_ptr<TBitmap> LoadResourceBitmap(const std::string& name);
// Adds (or replaces) a bitmap resource made by a drawing routine.
void RegisterResourceBitmap(const std::string& name, std::function<std::unique_ptr<TBitmap>()> maker);

// Raw data resources (RCDATA): registered by name, looked up without regard to case.
void RegisterResourceData(const std::string& name, std::vector<uint8_t> bytes);
void UnregisterResourceData(const std::string& name);
bool FindResourceData(const std::string& name, std::vector<uint8_t>& bytes);
