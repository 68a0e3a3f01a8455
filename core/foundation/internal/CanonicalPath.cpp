// Textual canonicalisation: the file system is never asked, so a path that
// does not exist yet canonicalises the same as one that does.

#include <vector>

#include "PathText.h"

namespace path_text {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

struct Rooted {
  std::string root;       // kept as it is; ".." never climbs above it
  std::string_view rest;  // the components after the root
  char separator;
};

std::size_t EndOfName(std::string_view path, std::size_t from) {
  while (from < path.size() && !IsSeparator(path[from])) ++from;
  return from;
}

// "C:\", "\\server\", "/", "http://host/", "\" or nothing for a relative path.
Rooted SplitRoot(std::string_view path) {
  std::size_t scheme = path.find("://");
  if (scheme != std::string_view::npos) {
    std::size_t host = EndOfName(path, scheme + 3);
    std::size_t rootEnd = host < path.size() ? host + 1 : host;
    return {std::string(path.substr(0, rootEnd)), path.substr(rootEnd), '/'};
  }
  if (!path.empty() && path[0] == '/') return {"/", path.substr(1), '/'};
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    std::size_t server = EndOfName(path, 2);
    std::size_t rootEnd = server < path.size() ? server + 1 : server;
    std::string root(path.substr(0, rootEnd));
    if (rootEnd > server) root.back() = '\\';
    return {root, path.substr(rootEnd), '\\'};
  }
  if (path.size() >= 2 && path[1] == ':') {
    std::string root(path.substr(0, 2));
    bool rootedDrive = path.size() >= 3 && IsSeparator(path[2]);
    if (rootedDrive) root.push_back('\\');
    return {root, path.substr(rootedDrive ? 3 : 2), '\\'};
  }
  if (!path.empty() && path[0] == '\\') return {"\\", path.substr(1), '\\'};
  return {"", path, '\\'};
}

std::vector<std::string_view> CanonicalComponents(std::string_view rest, bool climbsOutside) {
  std::vector<std::string_view> kept;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = EndOfName(rest, start);
    std::string_view name = rest.substr(start, end - start);
    start = end + 1;
    if (name.empty() || name == ".") continue;
    if (name != "..") {
      kept.push_back(name);
    } else if (!kept.empty() && kept.back() != "..") {
      kept.pop_back();
    } else if (climbsOutside) {
      // A relative path has nothing before it to remove; the ".." still means
      // something, so it stays.
      kept.push_back(name);
    }
  }
  return kept;
}

}  // namespace

std::string Canonical(std::string_view path) {
  Rooted rooted = SplitRoot(path);
  std::vector<std::string_view> kept = CanonicalComponents(rooted.rest, rooted.root.empty());
  std::string result = rooted.root;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) result.push_back(rooted.separator);
    result.append(kept[i]);
  }
  bool endsWithSeparator = !rooted.rest.empty() && IsSeparator(rooted.rest.back());
  if (endsWithSeparator && !kept.empty()) result.push_back(rooted.separator);
  return result;
}

}  // namespace path_text
