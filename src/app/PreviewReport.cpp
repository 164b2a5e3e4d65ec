// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PreviewReport.h"

#include "engine/FormatSize.h"

#include <algorithm>
#include <cstdint>

namespace trx {

namespace {

using Kind = cPlannedAction::Kind;

void AppendHex(std::string& out, unsigned char byte) {
    static const char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none (a stray or overlong
// byte, a surrogate, a code point above U+10FFFF, a sequence cut short).
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t point = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, point = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, point = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, point = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        point = (point << 6) | (byte(i) & 0x3Fu);
    }
    static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid = point >= kLeast[length] && point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF);
    return valid ? length : 0;
}

bool IsC1Control(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]) == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
}

std::string SizeColumn(const cPlannedAction& action, const cTextFormats& formats) {
    const bool sized = (action.What == Kind::Copy || action.What == Kind::Replace ||
                        (action.What == Kind::Delete && !action.Folder));
    return sized ? FormatSize(action.Size, formats) : std::string();
}

// `text` padded with blanks to `width` characters (not bytes: the kinds hold umlauts).
std::string PadRight(const std::string& text, std::size_t width) {
    const auto characters = static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    return text + std::string(width > characters ? width - characters : 0, ' ');
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string ActionLine(const cRunPlan& plan, const cPlannedAction& action, const cTextFormats& formats) {
    std::string line = PadRight(KindWord(action.What), 15) + PadLeft(SizeColumn(action, formats), 9) + "  ";
    switch (action.What) {
        case Kind::Copy:
        case Kind::Replace:
            return line + EscapeForReport(plan.SourcePath(action)) + " -> " +
                   EscapeForReport(plan.TargetPath(action));
        case Kind::Delete:
            return line + EscapeForReport(plan.TargetPath(action));
        case Kind::HoldBack:
        case Kind::Problem:
            break;
    }
    return line + EscapeForReport(action.Text);
}

std::string Count(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string SummaryText(const std::string& destination, const cPlanSummary& sum,
                        const cTextFormats& formats) {
    std::string text = "\nZiel " + EscapeForReport(destination) + "\n";
    text += "  zu kopieren:     " + Count(sum.Copies, "Datei", "Dateien") + ", " +
            FormatSize(sum.CopyBytes, formats) + "\n";
    text += "  zu ersetzen:     " + Count(sum.Replacements, "Datei", "Dateien") + ", " +
            FormatSize(sum.ReplaceBytes, formats) + "\n";
    text += "  zu löschen:      " + Count(sum.Deletions, "Eintrag", "Einträge") + "\n";
    text += "  zurückgehalten:  " + std::to_string(sum.HeldBack) + "\n";
    text += "  Probleme:        " + std::to_string(sum.Problems) + "\n";
    return text;
}

// The source field of the tab form: only a copy or a replacement has one.
std::string SourceField(const cRunPlan& plan, const cPlannedAction& action) {
    return action.What == Kind::Copy || action.What == Kind::Replace ? plan.SourcePath(action)
                                                                     : std::string();
}

std::string CopyField(const cRunPlan& plan, const cPlannedAction& action) {
    return action.What == Kind::Problem ? std::string() : plan.TargetPath(action);
}

}  // namespace

std::string EscapeForReport(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = SequenceLength(text, at);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte == '\t' || byte == '\n' || byte == '\r') {
            out += byte == '\t' ? "\\t" : byte == '\n' ? "\\n" : "\\r";
        } else if (length == 0 || byte < 0x20 || byte == 0x7F || (length == 2 && IsC1Control(text, at))) {
            for (std::size_t i = 0; i < std::max<std::size_t>(length, 1); ++i) {
                AppendHex(out, static_cast<unsigned char>(text[at + i]));
            }
        } else {
            out.append(text.substr(at, length));
        }
        at += std::max<std::size_t>(length, 1);
    }
    return out;
}

const char* KindWord(cPlannedAction::Kind kind) {
    switch (kind) {
        case Kind::Copy:
            return "Kopieren";
        case Kind::Replace:
            return "Ersetzen";
        case Kind::Delete:
            return "Löschen";
        case Kind::HoldBack:
            return "Zurückgehalten";
        case Kind::Problem:
            return "Problem";
    }
    return "";
}

std::vector<std::string> PlanDestinations(const cRunPlan& plan) {
    std::vector<std::string> destinations;
    for (const cPlanGroup& group : plan.Groups) {
        if (!group.Destination.empty() &&
            std::find(destinations.begin(), destinations.end(), group.Destination) == destinations.end()) {
            destinations.push_back(group.Destination);
        }
    }
    return destinations;
}

std::string PreviewText(const cRunPlan& plan, const cTextFormats& formats) {
    std::string text;
    for (const cPlannedAction& action : plan.Actions) {
        text += ActionLine(plan, action, formats) + "\n";
    }
    for (const std::string& destination : PlanDestinations(plan)) {
        text += SummaryText(destination, Summarize(plan, destination), formats);
    }
    return text;
}

std::string PreviewTabs(const cRunPlan& plan) {
    std::string text;
    for (const cPlannedAction& action : plan.Actions) {
        const bool sized =
            action.What == Kind::Copy || action.What == Kind::Replace || action.What == Kind::Delete;
        text += std::string(KindWord(action.What)) + '\t' + (sized ? std::to_string(action.Size) : "") +
                '\t' + EscapeForReport(SourceField(plan, action)) + '\t' +
                EscapeForReport(CopyField(plan, action)) + '\t' + EscapeForReport(action.Text) + '\n';
    }
    for (const std::string& destination : PlanDestinations(plan)) {
        const cPlanSummary sum = Summarize(plan, destination);
        text += "Summe\t" + EscapeForReport(destination);
        for (const std::uint64_t number : {sum.Copies, sum.CopyBytes, sum.Replacements, sum.ReplaceBytes,
                                           sum.Deletions, sum.HeldBack, sum.Problems}) {
            text += '\t' + std::to_string(number);
        }
        text += '\n';
    }
    return text;
}

bool PlanHasTrouble(const cRunPlan& plan) {
    return std::any_of(plan.Actions.begin(), plan.Actions.end(), [](const cPlannedAction& action) {
        return action.What == Kind::HoldBack || action.What == Kind::Problem;
    });
}

}  // namespace trx
