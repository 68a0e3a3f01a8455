// Saving and loading a group as a tagged channel group file. The file format
// is not read or written yet: every operation answers false and leaves the
// group untouched, so callers take their failure path.

#include "Tvk_ChannelGroup.h"

bool Tvk_ChannelGroup::SaveChannelGroup(TvkFileSaver& saver) { return false; }

bool Tvk_ChannelGroup::SaveChannelGroup(const char* fileName) { return false; }

bool Tvk_ChannelGroup::LoadChannelGroupFromFile(const char* fileName, bool asPoolInstance) { return false; }

bool Tvk_ChannelGroup::LoadChannelGroupFromBuffer(const char* fileName, int size, char* data, bool asPoolInstance) {
  return false;
}

bool Tvk_ChannelGroup::LoadChannelGroup(TvkFileLoader& loader, bool asPoolInstance) { return false; }
