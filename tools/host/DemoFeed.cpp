#include "tools/host/FeedSource.h"

std::unique_ptr<FeedSource> MakeDemoFeed(int, std::string* error)
{
  *error = "this build has no demo riff; give an input file with -i";
  return nullptr;
}
