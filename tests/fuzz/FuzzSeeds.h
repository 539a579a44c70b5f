// Seed writers for the fuzz targets: each seeds_*.cpp registers one writer for its target, which
// fills a folder with small valid inputs for that target.
#pragma once

#include <QString>

using SeedWriter = void (*)(const QString& folder);

// Registers a writer for the target's seed folder; returns true so it can initialise a static.
bool RegisterSeedWriter(const char* target, SeedWriter writer);
