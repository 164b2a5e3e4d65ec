// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ProjectFile.h"

#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectExtras.h"
#include "model/ProjectFileError.h"
#include "model/ValueStream.h"
#include "platform/FileSystem.h"
#include "platform/SafeReplace.h"
#include "platform/Text.h"

#include <cerrno>
#include <memory>
#include <unordered_set>
#include <vector>

namespace trx {

int MaxCatalogueDepth() {
    return static_cast<int>(platform::kMaxPathLength / 2);
}

namespace {

// ---- writing ----

void WriteSizeLimit(cValueWriter& w, const cSizeLimit& limit) {
    unsigned char block[16] = {};
    block[0] = limit.Enabled ? 1 : 0;
    for (int i = 0; i < 8; ++i) {
        block[8 + i] = static_cast<unsigned char>(limit.Bytes >> (8 * i));
    }
    w.Raw(block, sizeof block);
}

void WriteFilter(cValueWriter& w, const cFileFilter& filter) {
    w.Boolean(filter.AllNoTypes);
    w.ListBegin();
    for (const std::string& type : filter.Types) {
        // Stored without the leading dot.
        w.String(type.empty() ? std::string_view() : std::string_view(type).substr(1));
    }
    w.ListEnd();
    w.Char(filter.Attributes);
    for (const cDatePair& pair : filter.Dates) {
        w.Date(pair.LaterThan);
        w.Date(pair.EarlierThan);
    }
    WriteSizeLimit(w, filter.Size1);
    WriteSizeLimit(w, filter.Size2);
    w.String(filter.Mask);
}

void WriteOptions(cValueWriter& w, const cBackUpOptions& options) {
    WriteFilter(w, options.Filters[0]);
    WriteFilter(w, options.Filters[1]);
    w.Boolean(options.SubFolders);
    w.Boolean(options.OnlyNewFiles);
    w.Boolean(options.DelDeletedFiles);
    w.Char(options.TransferFlags);
    w.Boolean(options.TimeOriginal);
    w.Char(static_cast<std::uint8_t>(options.Protocol));
}

void WriteCatalogueNode(cValueWriter& w, const cSubDir& node) {
    // Iterative, so that a deep catalogue cannot exhaust the stack while saving.
    struct Frame {
        const cSubDir* node;
        int next;
    };
    std::vector<Frame> stack;
    const auto open = [&](const cSubDir& n) {
        if (n.Parent != nullptr && &n != &node) {
            w.String(n.Name);
        }
        w.ListBegin();
        for (const std::string& file : n.Files) {
            w.String(file);
        }
        w.ListEnd();
        w.ListBegin();
        stack.push_back({&n, 0});
    };
    open(node);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.node->SubDirs.Count()) {
            const cSubDir* child = top.node->SubDirs[top.next++];
            open(*child);
        } else {
            w.ListEnd();
            stack.pop_back();
        }
    }
}

// ---- reading ----

void ReadSizeLimit(cValueReader& r, cSizeLimit& limit) {
    unsigned char block[16];
    r.Raw(block, sizeof block);
    limit.Enabled = block[0] != 0;
    limit.Bytes = 0;
    for (int i = 7; i >= 0; --i) {
        limit.Bytes = (limit.Bytes << 8) | block[8 + i];
    }
}

void ReadFilter(cValueReader& r, cFileFilter& filter) {
    filter.AllNoTypes = r.Boolean();
    r.ListBegin();
    filter.Types.clear();
    while (!r.NextIsListEnd()) {
        filter.Types.push_back("." + r.String());
    }
    r.ListEnd();
    filter.Attributes = r.Char();
    for (cDatePair& pair : filter.Dates) {
        pair.LaterThan = r.Date();
        pair.EarlierThan = r.Date();
    }
    ReadSizeLimit(r, filter.Size1);
    ReadSizeLimit(r, filter.Size2);
    filter.Mask = r.String();
}

void ReadOptions(cValueReader& r, cBackUpOptions& options) {
    ReadFilter(r, options.Filters[0]);
    ReadFilter(r, options.Filters[1]);
    options.SubFolders = r.Boolean();
    options.OnlyNewFiles = r.Boolean();
    options.DelDeletedFiles = r.Boolean();
    options.TransferFlags = r.Char();
    options.TimeOriginal = r.Boolean();
    options.Protocol = static_cast<std::int8_t>(r.Char());
}

void ReadStrings(cValueReader& r, std::vector<std::string>& into) {
    r.ListBegin();
    while (!r.NextIsListEnd()) {
        into.push_back(r.String());
    }
    r.ListEnd();
    into.shrink_to_fit();  // a catalogue of a million names keeps no room to grow
}

std::size_t EstimatedSize(const cSubDir& node) {
    std::size_t size = 8 + node.Name.size();
    for (const std::string& name : node.Files) {
        size += 5 + name.size();  // the longest tag and length a name can have
    }
    for (const cSubDir* child : node.SubDirs) {
        size += EstimatedSize(*child);
    }
    return size;
}

std::size_t EstimatedSize(const cProject& project) {
    std::size_t size = 4096 + project.Description.size() + project.Comments.size();
    for (const cBackUpDestination* destination : project.Destinations) {
        size += 16 + destination->Path.size();
        for (const cBackUpSource* source : destination->Sources) {
            size += 512 + source->Path.size() + EstimatedSize(source->Catalogue);
        }
    }
    return size;
}

// Catalogued names are upper-cased, however a file wrote them: the comparison with what a run sees goes by
// the upper-cased form, and a name written in another case must still find its entry.
void UpperCaseNames(std::vector<std::string>& names) {
    bool changed = false;
    for (std::string& name : names) {
        std::string upper = text::UpperCase(name);
        if (upper != name) {
            name = std::move(upper);
            changed = true;
        }
    }
    if (!changed) {
        return;  // as this program writes them: no two can have become one
    }
    std::unordered_set<std::string> seen;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (seen.insert(names[i]).second) {
            if (kept != i) {
                names[kept] = std::move(names[i]);
            }
            ++kept;
        }
    }
    names.resize(kept);
}

void ReadCatalogueNode(cValueReader& r, cSubDir& node, int depth) {
    if (depth > MaxCatalogueDepth()) {
        throw cProjectFileError(messages::kInvalidPropertyValue);
    }
    ReadStrings(r, node.Files);
    UpperCaseNames(node.Files);
    r.ListBegin();
    while (!r.NextIsListEnd()) {
        const std::string name = r.String();
        cSubDir* child = node.GetChild(name);
        // A name may hold several levels ("a/b"); the tree's depth is what later walks recurse over.
        if (child->Depth() > MaxCatalogueDepth()) {
            throw cProjectFileError(messages::kInvalidPropertyValue);
        }
        ReadCatalogueNode(r, *child, depth + 1);
    }
    r.ListEnd();
}

// Group sets read from the file until sources take them over. Sets nobody uses are destroyed with it.
class cLoadedSets {
public:
    explicit cLoadedSets(cProject& project) : project_(project) {}
    ~cLoadedSets() {
        for (cBackUpOptions* set : sets_) {
            if (set->RefCount == 0) {
                delete set;
            }
        }
    }
    cBackUpOptions* Add() {
        sets_.reserve(sets_.size() + 1);
        auto* set = new cBackUpOptions;
        sets_.push_back(set);
        return set;
    }
    cBackUpOptions* ForIndex(std::int32_t index) const {
        if (index == -1) {
            return &project_.DefaultOptions;
        }
        if (index < 0 || static_cast<std::size_t>(index) >= sets_.size()) {
            throw cProjectFileError(messages::ListIndexOutOfBounds(index));
        }
        return sets_[static_cast<std::size_t>(index)];
    }

private:
    cProject& project_;
    std::vector<cBackUpOptions*> sets_;
};

}  // namespace

std::string SerializeProject(const cProject& project) {
    std::string out;
    // Room for the whole file at once: a large catalogue would otherwise take up to twice its size while the
    // text grows.
    out.reserve(EstimatedSize(project));
    cValueWriter w(out);

    std::vector<const cBackUpOptions*> sets;
    const auto indexOf = [&](const cBackUpOptions* set) -> std::int32_t {
        if (set == &project.DefaultOptions) {
            return -1;
        }
        for (std::size_t i = 0; i < sets.size(); ++i) {
            if (sets[i] == set) {
                return static_cast<std::int32_t>(i);
            }
        }
        return -2;
    };

    w.ListBegin();
    for (const cBackUpDestination* destination : project.Destinations) {
        for (const cBackUpSource* source : destination->Sources) {
            if (indexOf(source->Options) == -2) {
                WriteOptions(w, *source->Options);
                sets.push_back(source->Options);
            }
        }
    }
    w.ListEnd();

    w.ListBegin();
    for (const cBackUpDestination* destination : project.Destinations) {
        w.String(destination->Path);
        w.ListBegin();
        for (const cBackUpSource* source : destination->Sources) {
            w.String(source->Path);
            // A catalogue is kept beside a byte total, and also without one when it knows names (a source of
            // empty files only): dropped, the deletions at such a source would never be carried over.
            const bool hasCatalogue = source->TotalSize != 0 || !source->Catalogue.Files.empty();
            w.Boolean(hasCatalogue);
            if (hasCatalogue) {
                w.Int64(static_cast<std::int64_t>(source->TotalSize));
                WriteCatalogueNode(w, source->Catalogue);
            }
            w.Integer(indexOf(source->Options));
        }
        w.ListEnd();
    }
    w.ListEnd();

    WriteOptions(w, project.DefaultOptions);
    w.String(project.Description);
    w.String(project.Comments);
    return out;
}

void SaveProject(const cProject& project, const std::string& path, platform::FileSystem& fs) {
    const std::string data = SerializeProject(project);
    const platform::ReplaceResult result = platform::ReplaceFileContents(fs, path, data);
    switch (result.failure) {
        case platform::ReplaceFailure::None:
            if (!SaveProjectExtras(project, path, fs)) {
                throw cProjectFileError(messages::kStreamWriteError);
            }
            return;
        case platform::ReplaceFailure::Create:
            throw cProjectFileError(messages::CannotCreateFile(path));
        case platform::ReplaceFailure::Write:
            throw cProjectFileError(messages::kStreamWriteError);
    }
}

void ParseProject(cProject& project, std::string_view data) {
    cValueReader r(data);
    cLoadedSets sets(project);

    r.ListBegin();
    while (!r.NextIsListEnd()) {
        ReadOptions(r, *sets.Add());
    }
    r.ListEnd();

    r.ListBegin();
    project.Destinations.DeleteAll();
    while (!r.NextIsListEnd()) {
        auto* destination = new cBackUpDestination(project, r.String());
        r.ListBegin();
        while (!r.NextIsListEnd()) {
            auto* source = new cBackUpSource(r.String(), *destination);
            if (r.Boolean()) {
                source->TotalSize = static_cast<std::uint64_t>(r.Int64());
                ReadCatalogueNode(r, source->Catalogue, 0);
            }
            source->SetOptions(sets.ForIndex(r.Integer()));
        }
        r.ListEnd();
    }
    r.ListEnd();

    ReadOptions(r, project.DefaultOptions);
    project.Description = r.String();
    project.Comments = r.String();
}

void CloneProject(const cProject& project, cProject& copy) {
    ParseProject(copy, SerializeProject(project));
    ParseProjectExtras(copy, SerializeProjectExtras(project));
    copy.ProjectPath = project.ProjectPath;
    copy.Versions = project.Versions;
}

void LoadProject(cProject& project, const std::string& path, platform::FileSystem& fs) {
    const auto data = fs.ReadWholeFile(path);
    if (!data) {
        // A file that opens but cannot be read is a read error, not a missing file.
        if (data.Error() == EIO) {
            throw cProjectFileError(messages::kStreamReadError);
        }
        throw cProjectFileError(messages::CannotOpenFile(path));
    }
    ParseProject(project, *data);
    project.Versions = cVersionSettings{};  // what the extras do not say is off
    LoadProjectExtras(project, path, fs);
}

}  // namespace trx
