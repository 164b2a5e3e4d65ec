// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ProjectExtras.h"

#include "model/BackUpSource.h"
#include "model/Project.h"
#include "platform/FileSystem.h"
#include "platform/FileTypes.h"
#include "platform/PathText.h"
#include "platform/SafeReplace.h"
#include "platform/Text.h"

#include <cerrno>
#include <unordered_set>
#include <vector>

namespace trx {

namespace {

constexpr char kMountRecord[] = "mount";
constexpr char kCatalogueRecord[] = "catalogue";
constexpr char kAbilitiesRecord[] = "abilities";
constexpr char kVersionsRecord[] = "versions";
constexpr int kMostDays = 36500;
constexpr int kMostVersions = 9999;

// A whole number from `least` to `most` written in plain digits; -1 for anything else.
int Bounded(const std::string& field, int least, int most) {
    if (field.empty() || field.size() > 5 || field.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    const int value = std::stoi(field);
    return value >= least && value <= most ? value : -1;
}

void ApplyVersions(cProject& project, const std::vector<std::string>& fields) {
    const int days = Bounded(fields[1], 1, kMostDays);
    const int count = Bounded(fields[2], 0, kMostVersions);
    if (days > 0 && count >= 0) {
        project.Versions = {true, days, count};
    }
}

std::string Escaped(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (const char c : field) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

std::string Unescaped(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out.push_back(field[i]);
            continue;
        }
        const char next = field[++i];
        out.push_back(next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next);
    }
    return out;
}

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    for (;;) {
        const auto tab = line.find('\t');
        fields.push_back(Unescaped(line.substr(0, tab)));
        if (tab == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(tab + 1);
    }
}

void WriteMountPoints(std::string& out, const cBackUpSource& source, const cSubDir& node) {
    if (node.MountPoint) {
        out += std::string(kMountRecord) + "\t" + Escaped(source.Destination->Path) + "\t" + Escaped(source.Path) +
               "\t" + Escaped(node.GetPath(false)) + "\n";
    }
    for (const cSubDir* child : node.SubDirs) {
        WriteMountPoints(out, source, *child);
    }
}

cBackUpSource* FindSource(cProject& project, const std::string& destination, const std::string& source) {
    for (cBackUpDestination* d : project.Destinations) {
        if (d->Path != destination) {
            continue;
        }
        for (cBackUpSource* s : d->Sources) {
            if (s->Path == source) {
                return s;
            }
        }
    }
    return nullptr;
}

// A folder below a source as the writer gives it ("a/b/"): no longer than a path can be, no "." or "..".
bool PlausibleFolder(const std::string& relative) {
    if (relative.empty() || relative.back() != '/' || relative.size() > platform::kMaxPathLength) {
        return false;
    }
    return relative.find("/../") == std::string::npos && relative.find("/./") == std::string::npos &&
           relative.rfind("../", 0) != 0 && relative.rfind("./", 0) != 0;
}

void AddNames(cSubDir& node, std::vector<std::string>::const_iterator first,
              std::vector<std::string>::const_iterator last) {
    std::unordered_set<std::string> known(node.Files.begin(), node.Files.end());
    for (auto it = first; it != last; ++it) {
        std::string upper = text::UpperCase(*it);
        if (!it->empty() && known.insert(upper).second) {
            node.Files.push_back(std::move(upper));
        }
    }
}

void ApplyAbilities(cProject& project, const std::vector<std::string>& fields) {
    for (cBackUpDestination* destination : project.Destinations) {
        if (destination->Path == fields[1]) {
            destination->Abilities = fields[2];
        }
    }
}

void ApplyRecord(cProject& project, const std::vector<std::string>& fields) {
    if (fields.size() == 3 && fields[0] == kVersionsRecord) {
        ApplyVersions(project, fields);
        return;
    }
    if (fields.size() == 3 && fields[0] == kAbilitiesRecord) {
        ApplyAbilities(project, fields);
        return;
    }
    if (fields.size() < 4 || (fields[3] != "" && !PlausibleFolder(fields[3]))) {
        return;
    }
    cBackUpSource* source = FindSource(project, fields[1], fields[2]);
    if (source == nullptr) {
        return;
    }
    if (fields[0] == kMountRecord && fields.size() == 4 && !fields[3].empty()) {
        source->Catalogue.GetChild(fields[3])->MountPoint = true;
    } else if (fields[0] == kCatalogueRecord) {
        AddNames(*source->Catalogue.GetChild(fields[3]), fields.begin() + 4, fields.end());
    }
}

}  // namespace

std::string ProjectExtrasPath(const std::string& projectPath) {
    return platform::WithoutExtension(projectPath) + ".tresorix";
}

std::string CatalogueRecord(const std::string& destination, const std::string& source,
                            const std::string& relativeFolder, const std::vector<std::string>& names) {
    std::string record = std::string(kCatalogueRecord) + "\t" + Escaped(destination) + "\t" + Escaped(source) +
                         "\t" + Escaped(relativeFolder);
    for (const std::string& name : names) {
        record += "\t" + Escaped(name);
    }
    return record + "\n";
}

std::string SerializeProjectExtras(const cProject& project) {
    std::string records;
    if (project.Versions.Keep) {
        records += std::string(kVersionsRecord) + "\t" + std::to_string(project.Versions.Days) + "\t" +
                   std::to_string(project.Versions.MaxCount) + "\n";
    }
    for (const cBackUpDestination* destination : project.Destinations) {
        if (!destination->Abilities.empty()) {
            records += std::string(kAbilitiesRecord) + "\t" + Escaped(destination->Path) + "\t" +
                       Escaped(destination->Abilities) + "\n";
        }
        for (const cBackUpSource* source : destination->Sources) {
            WriteMountPoints(records, *source, source->Catalogue);
        }
    }
    if (records.empty()) {
        return {};
    }
    return "# Tresorix: was zum Projekt gehört und in der Projektdatei keinen Platz hat.\n" + records;
}

void ParseProjectExtras(cProject& project, std::string_view data) {
    for (auto end = data.find('\n'); end != std::string_view::npos; end = data.find('\n')) {
        const std::string_view line = data.substr(0, end);
        if (!line.empty() && line[0] != '#') {
            ApplyRecord(project, Fields(line));
        }
        data.remove_prefix(end + 1);
    }
}

bool SaveProjectExtras(const cProject& project, const std::string& projectPath, platform::FileSystem& fs) {
    const std::string path = ProjectExtrasPath(projectPath);
    const std::string data = SerializeProjectExtras(project);
    if (data.empty()) {
        return !fs.Stat(path, false) || fs.RemoveFile(path).Ok();
    }
    return platform::ReplaceFileContents(fs, path, data).failure == platform::ReplaceFailure::None;
}

void LoadProjectExtras(cProject& project, const std::string& projectPath, platform::FileSystem& fs) {
    if (const auto data = fs.ReadWholeFile(ProjectExtrasPath(projectPath))) {
        ParseProjectExtras(project, *data);
    }
}

}  // namespace trx
