#pragma once

#include "Tvk_Channel.h"

class TvkFileLoader;

// A channel type named by a "TRNF" header: it replaces the loader's data by
// the translated data, positioned after the header.
class ENGINECORE_API Tvo_TranslationChannel : public Tvk_Channel {
 public:
  virtual void TranslateData(TvkFileLoader* loader) = 0;
};
