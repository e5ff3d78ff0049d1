// The three ways the program's logic reaches the world: the settings file,
// the operating system, and the user.
#pragma once

#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/prompts.h"

struct MirvanEnv {
  IProfile& profile;
  IPlatform& platform;
  IPrompts& prompts;
};
