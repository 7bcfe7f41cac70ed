#pragma once
// Test audio: the music-like PCM generator that also makes the demo disc.

#include "tools/discgen/MusicPcm.h"
