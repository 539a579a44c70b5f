// The canvas component's own pixel operations: the sine tone curve ("Licht-Teilen") and the
// horizontal shear ("Schräge").
#pragma once

#include <QImage>

#include <array>
#include <cstdint>

using TSineCurveTable = std::array<std::uint8_t, 256>;

// 255 * sin(i / 255 * pi / 2) for i = 0..255, computed in extended precision.
TSineCurveTable SineCurveTable();

// Replaces every channel value c by table[c], passes times (nothing for passes <= 0).
void SineCurve(QImage& bitmap, const TSineCurveTable& table, int passes);

// Shifts each row right by amount percent of its row number and squeezes it to the picture's width;
// the uncovered wedges are white. Amounts below 0 are refused.
void Slant(QImage& bitmap, int amount);
