// The files the walk-through reads when none is named, from the working folder: the model and
// the background sound.
#pragma once

constexpr const char* kDefaultModelFile = "kelm.3ds";
constexpr const char* kDefaultSoundFile = "groud.wav";
