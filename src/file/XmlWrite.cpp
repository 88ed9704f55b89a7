#include "file/XmlWrite.h"

namespace flow {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// XML 1.0 has no way to write most control characters, nor U+FFFE and U+FFFF, even escaped;
// a file holding one would stop every later reader at that point. They are written as U+FFFD
// so that the rest of the file stays readable. Returns how many bytes of text it consumed.
std::size_t AppendUnwritable(std::string& out, std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
        out += kReplacement;
        return 1;
    }
    if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
        (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE) {
        out += kReplacement;
        return 3;
    }
    return 0;
}

void AppendEscaped(std::string& out, std::string_view text, bool attribute) {
    for (std::size_t i = 0; i < text.size();) {
        if (std::size_t used = AppendUnwritable(out, text, i)) {
            i += used;
            continue;
        }
        const char c = text[i++];
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        case '\'':
            out += attribute ? "&apos;" : "'";
            break;
        case '\n':
            out += attribute ? "&#10;" : "\n";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\t':
            // A reader turns a raw tab in an attribute into a blank.
            out += attribute ? "&#9;" : "\t";
            break;
        default:
            out += c;
        }
    }
}

// Comment text is written as it is, except that runs of blanks shrink to their first blank.
void AppendCommentText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (std::size_t used = AppendUnwritable(out, text, i)) {
            i += used;
            continue;
        }
        if (text[i] == ' ' && i > 0 && text[i - 1] == ' ') {
            ++i;
            continue;
        }
        out += text[i++];
    }
}

void AppendStartTag(std::string& out, const XmlNode& element, bool empty) {
    out += '<';
    out += element.Name;
    for (const XmlAttribute& attribute : element.Attributes) {
        out += ' ';
        out += attribute.Name;
        out += "=\"";
        AppendEscapedAttribute(out, attribute.Value);
        out += '"';
    }
    out += empty ? "/>" : ">";
}

void AppendLine(std::string& out, int depth) {
    out.append(std::size_t(depth) * 2, ' ');
}

// Writes one top-level node and everything below it, walking the tree without recursion.
void AppendSubtree(std::string& out, const XmlNode* start) {
    const XmlNode* node = start;
    int depth = 0;
    while (true) {
        AppendLine(out, depth);
        switch (node->Kind) {
        case XmlKind::Element:
            AppendStartTag(out, *node, !node->FirstChild);
            break;
        case XmlKind::Comment:
            out += "<!--";
            AppendCommentText(out, node->Value);
            out += "-->";
            break;
        case XmlKind::Text:
            AppendEscaped(out, node->Value, false);
            break;
        case XmlKind::ProcessingInstruction:
            out += "<?";
            out += node->Name;
            if (!node->Value.empty()) {
                out += ' ';
                out += node->Value;
            }
            out += "?>";
            break;
        case XmlKind::Document:
            break;
        }
        out += kLineEnd;
        if (node->Kind == XmlKind::Element && node->FirstChild) {
            node = node->FirstChild;
            ++depth;
            continue;
        }
        while (node != start && !node->NextSibling) {
            node = node->Parent;
            --depth;
            AppendLine(out, depth);
            out += "</";
            out += node->Name;
            out += '>';
            out += kLineEnd;
        }
        if (node == start) return;
        node = node->NextSibling;
    }
}

} // namespace

void AppendEscapedAttribute(std::string& out, std::string_view value) {
    AppendEscaped(out, value, true);
}

std::string WriteXml(const XmlDocument& document) {
    std::string out = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    out += kLineEnd;
    for (const XmlNode* node = document.Top.FirstChild; node; node = node->NextSibling) {
        // An empty line after the declaration, and one more to set the root element apart.
        if (node == document.Top.FirstChild || node->Kind == XmlKind::Element) out += kLineEnd;
        AppendSubtree(out, node);
    }
    return out;
}

} // namespace flow
