// SPDX-License-Identifier: GPL-3.0-or-later
// Coverage-guided fuzzing of the project file reader: whatever the bytes, reading them either fills a
// project or throws the reader's own error, without crash, leak, hang or an allocation beyond reason.
#include "model/Project.h"
#include "model/ProjectExtras.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileError.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    trx::cProject project;
    try {
        trx::ParseProject(project, std::string_view(reinterpret_cast<const char*>(data), size));
        // What was read must be writable and read back to the same bytes.
        const std::string written = trx::SerializeProject(project);
        trx::cProject again;
        trx::ParseProject(again, written);
        if (trx::SerializeProject(again) != written) {
            __builtin_trap();
        }
    } catch (const trx::cProjectFileError&) {
    }
    // The extras file beside a project is read by a reader of its own, which never fails.
    trx::ParseProjectExtras(project, std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
