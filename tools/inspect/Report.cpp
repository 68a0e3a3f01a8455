#include "Report.h"

#include <iomanip>
#include <set>
#include <nlohmann/json.hpp>

namespace inspect {
namespace {

std::string TypeLabel(const GUID& guid, const TypeNames& types) {
  const TypeName* name = types.Find(guid);
  return name ? name->name : std::string();
}

std::string LinkList(const ChannelRecord& channel) {
  std::string list;
  for (const Link& link : channel.links) list += (list.empty() ? "" : ",") + std::to_string(link.child);
  return list.empty() ? "-" : list;
}

void WriteItems(std::ostream& out, const TagStream& stream) {
  out << "offset      tag   size      content\n";
  for (const TagItem& item : stream.items) {
    out << "0x" << std::hex << std::setw(8) << std::setfill('0') << item.offset << std::dec << std::setfill(' ')
        << "  " << item.tag << "  ";
    if (item.Lone()) {
      out << "(lone)\n";
      continue;
    }
    for (std::size_t b = 0; b < item.blocks.size(); ++b)
      out << (b ? "            " + std::string(6, ' ') : "") << std::left << std::setw(8) << item.blocks[b].size
          << std::right << "  " << Preview(stream, item.blocks[b]) << "\n";
  }
}

void WriteChannelTable(std::ostream& out, const GroupModel& group, const TypeNames& types) {
  out << "\nchannel group: " << (group.slotCount ? std::to_string(*group.slotCount) : "?") << " slots, "
      << group.channels.size() << " channels, " << group.holes << " holes";
  if (group.startChannel) out << ", start channel " << *group.startChannel;
  if (group.poolName) out << ", pool \"" << *group.poolName << "\"";
  if (group.groupGuid) out << "\ngroup GUID " << GuidText(*group.groupGuid);
  out << "\n\nindex  name                  type GUID                             type name             interface     links\n";
  for (const ChannelRecord& c : group.channels) {
    const std::string typeName = TypeLabel(c.typeGuid, types);
    out << std::setw(5) << c.index << "  " << std::left << std::setw(20) << c.name << "  " << GuidText(c.typeGuid)
        << "  " << std::setw(20) << (typeName.empty() ? "?" : typeName) << "  " << std::setw(12)
        << (c.interfaceType ? InterfaceTypeName(*c.interfaceType) : "?") << std::right << "  " << LinkList(c) << "\n";
  }
  for (const Parameter& p : group.parameters) out << "parameter \"" << p.name << "\" of type " << GuidText(p.typeGuid) << "\n";
  for (const std::string& problem : group.problems) out << "problem: " << problem << "\n";
}

// Names and type names in dot labels are quoted strings.
std::string DotQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\n') {
      quoted += "\\n";
      continue;
    }
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// A channel in the form varnel-build reads, with what only a reader needs
// (type and interface names, the file's own markers) beside it.
nlohmann::json ChannelJson(const ChannelRecord& c, const TypeNames& types) {
  nlohmann::json links = nlohmann::json::array();
  for (const Link& link : c.links) {
    nlohmann::json entry{{"child", link.child}};
    if (link.linkPosition) entry["position"] = *link.linkPosition;
    if (link.target) entry["target"] = *link.target;
    links.push_back(entry);
  }
  nlohmann::json channel{{"index", c.index}, {"name", c.name}, {"type", GuidText(c.typeGuid)},
                         {"links", links}, {"baseRecordOnly", c.baseRecordOnly}};
  const std::string typeName = TypeLabel(c.typeGuid, types);
  channel["typeName"] = typeName.empty() ? nlohmann::json() : nlohmann::json(typeName);
  if (c.interfaceType) {
    channel["interface"] = *c.interfaceType;
    channel["interfaceName"] = InterfaceTypeName(*c.interfaceType);
  }
  if (c.publicCall) {
    const PublicCall& call = *c.publicCall;
    channel["publicCall"] = {{"channel", call.channelName}, {"pool", call.poolName},
                             {"file", call.fileName},       {"requested", call.requestedNr},
                             {"autoLoad", call.autoLoad},   {"dynamicAutoLoad", call.dynamicAutoLoad}};
  }
  if (c.script) channel["script"] = *c.script;
  if (c.window) channel["window"] = *c.window;
  if (c.value) channel["value"] = static_cast<double>(*c.value);
  return channel;
}

}  // namespace

void WriteText(std::ostream& out, const Inspection& inspection, const TypeNames& types) {
  out << inspection.path << ": " << KindName(inspection.kind) << ", " << inspection.stream.bytes.size() << " bytes, "
      << inspection.stream.items.size() << " items\n\n";
  WriteItems(out, inspection.stream);
  if (inspection.kind == FileKind::ChannelGroup) WriteChannelTable(out, inspection.group, types);
}

void WriteDot(std::ostream& out, const Inspection& inspection, const TypeNames& types) {
  out << "digraph channels {\n  node [shape=box];\n";
  for (const ChannelRecord& c : inspection.group.channels) {
    std::string label = std::to_string(c.index) + ": " + c.name;
    const std::string typeName = TypeLabel(c.typeGuid, types);
    if (!typeName.empty()) label += "\n" + typeName;
    out << "  c" << c.index << " [label=" << DotQuoted(label) << "];\n";
  }
  // A link to an index that holds no channel stays empty when loaded.
  std::set<int> present, missing;
  for (const ChannelRecord& c : inspection.group.channels) present.insert(c.index);
  for (const ChannelRecord& c : inspection.group.channels)
    for (const Link& link : c.links)
      if (!present.count(link.child)) missing.insert(link.child);
  for (int index : missing)
    out << "  c" << index << " [label=\"" << index << ": (no channel)\", style=dashed];\n";
  for (const ChannelRecord& c : inspection.group.channels)
    for (const Link& link : c.links) {
      out << "  c" << c.index << " -> c" << link.child;
      if (link.linkPosition) out << " [label=\"" << *link.linkPosition << "\"]";
      out << ";\n";
    }
  out << "}\n";
}

void WriteJson(std::ostream& out, const Inspection& inspection, const TypeNames& types) {
  const TagStream& stream = inspection.stream;
  nlohmann::json items = nlohmann::json::array();
  for (const TagItem& item : stream.items) {
    nlohmann::json sizes = nlohmann::json::array();
    for (const Block& block : item.blocks) sizes.push_back(block.size);
    items.push_back({{"tag", item.tag}, {"offset", item.offset}, {"lone", item.Lone()}, {"blockSizes", sizes}});
  }
  nlohmann::json doc{{"file", inspection.path}, {"kind", KindName(inspection.kind)},
                     {"size", stream.bytes.size()}, {"items", items}};
  doc["error"] = stream.error.empty() ? nlohmann::json() : nlohmann::json(stream.error);
  if (inspection.kind == FileKind::ChannelGroup) {
    const GroupModel& group = inspection.group;
    nlohmann::json channels = nlohmann::json::array();
    for (const ChannelRecord& c : group.channels) channels.push_back(ChannelJson(c, types));
    nlohmann::json parameters = nlohmann::json::array();
    for (const Parameter& p : group.parameters) parameters.push_back({{"name", p.name}, {"type", GuidText(p.typeGuid)}});
    // The group object is a description varnel-build accepts.
    nlohmann::json g{{"channels", channels}, {"parameters", parameters}, {"holes", group.holes},
                     {"problems", group.problems}};
    if (group.slotCount) g["slotCount"] = *group.slotCount;
    if (group.startChannel) g["start"] = *group.startChannel;
    if (group.poolName) g["pool"] = *group.poolName;
    if (group.groupGuid) g["groupGuid"] = GuidText(*group.groupGuid);
    doc["group"] = g;
  }
  // Texts from the file need not be valid UTF-8; replace what is not.
  out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

}  // namespace inspect
