#include "file/XmlParse.h"

#include <QFile>
#include <QFileInfo>

#include <expat.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace flow {

namespace {

class TreeBuilder {
  public:
    TreeBuilder(XmlDocument& document, std::size_t keepDepth)
        : document_(document), current_(&document.Top), parser_(XML_ParserCreate(nullptr)),
          keepDepth_(keepDepth) {
        XML_SetUserData(parser_.get(), this);
        XML_SetElementHandler(parser_.get(), &TreeBuilder::OnStart, &TreeBuilder::OnEnd);
        XML_SetCharacterDataHandler(parser_.get(), &TreeBuilder::OnText);
        XML_SetCommentHandler(parser_.get(), &TreeBuilder::OnComment);
        XML_SetProcessingInstructionHandler(parser_.get(), &TreeBuilder::OnInstruction);
    }

    // Returns false once the parse has stopped; later pieces are ignored.
    bool Feed(const char* data, std::size_t size, bool last) {
        if (stopped_) return false;
        // expat takes int lengths; very large inputs go in pieces.
        do {
            const int piece = int(std::min<std::size_t>(size, INT_MAX / 2));
            size -= std::size_t(piece);
            const bool final = last && size == 0;
            if (XML_Parse(parser_.get(), data, piece, final) != XML_STATUS_OK) {
                Stop();
                return false;
            }
            data += piece;
        } while (size > 0);
        if (last) FlushText();
        return true;
    }

  private:
    struct ParserFree {
        void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
    };

    static TreeBuilder& Self(void* data) { return *static_cast<TreeBuilder*>(data); }

    static void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
        TreeBuilder& self = Self(data);
        if (!self.Keeps(self.level_++)) return;
        self.FlushText();
        XmlNode* element = AppendElement(self.current_, name);
        std::size_t count = 0;
        while (attributes[2 * count])
            ++count;
        element->Attributes.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            element->Attributes.push_back({attributes[2 * i], attributes[2 * i + 1]});
        self.current_ = element;
    }

    static void OnEnd(void* data, const XML_Char*) {
        TreeBuilder& self = Self(data);
        if (!self.Keeps(--self.level_)) return;
        self.FlushText();
        self.current_ = self.current_->Parent;
    }

    static void OnText(void* data, const XML_Char* text, int length) {
        TreeBuilder& self = Self(data);
        if (self.Keeps(self.level_)) self.text_.append(text, std::size_t(length));
    }

    static void OnComment(void* data, const XML_Char* text) {
        TreeBuilder& self = Self(data);
        if (!self.Keeps(self.level_)) return;
        self.FlushText();
        AppendXmlComment(self.current_, text);
    }

    static void OnInstruction(void* data, const XML_Char* target, const XML_Char* value) {
        TreeBuilder& self = Self(data);
        if (!self.Keeps(self.level_)) return;
        self.FlushText();
        AppendXmlNode(self.current_, XmlKind::ProcessingInstruction, target, value);
    }

    // Whether a node at this depth (0: the top level) goes into the tree.
    bool Keeps(std::size_t depth) const { return depth <= keepDepth_; }

    void FlushText() {
        if (text_.empty()) return;
        const bool blank = std::all_of(text_.begin(), text_.end(), [](char c) {
            return c == ' ' || c == '\t' || c == '\n' || c == '\r';
        });
        if (!blank) AppendXmlNode(current_, XmlKind::Text, {}, text_);
        text_.clear();
    }

    void Stop() {
        stopped_ = true;
        FlushText();
        document_.SyntaxError = true;
        document_.ErrorText = XML_ErrorString(XML_GetErrorCode(parser_.get()));
        document_.ErrorLine = long(XML_GetCurrentLineNumber(parser_.get()));
    }

    XmlDocument& document_;
    XmlNode* current_;
    std::unique_ptr<XML_ParserStruct, ParserFree> parser_;
    std::string text_;
    bool stopped_ = false;
    std::size_t keepDepth_;
    std::size_t level_ = 0; // elements open at this point of the parse, kept or not
};

} // namespace

void ParseXml(std::string_view bytes, XmlDocument& document, std::size_t keepDepth) {
    TreeBuilder(document, keepDepth).Feed(bytes.data(), bytes.size(), true);
}

bool ParseXmlFile(const QString& fileName, XmlDocument& document, std::size_t keepDepth) {
    // Only regular files: a directory has no content and a device or pipe might never end.
    if (!QFileInfo(fileName).isFile()) return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    TreeBuilder builder(document, keepDepth);
    std::vector<char> buffer(1 << 16);
    qint64 total = 0;
    while (true) {
        const qint64 got = file.read(buffer.data(), qint64(buffer.size()));
        if (got < 0) return total > 0;
        total += got;
        if (got == 0) {
            if (total > 0) builder.Feed(nullptr, 0, true);
            return total > 0;
        }
        if (!builder.Feed(buffer.data(), std::size_t(got), false)) return true;
    }
}

} // namespace flow
