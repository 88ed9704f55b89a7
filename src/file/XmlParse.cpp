#include "file/XmlParse.h"

#include "file/StartTagScan.h"

#include <QFile>
#include <QFileInfo>

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstdint>
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

    // Reads the whole file into the parser. expat scans a token that is still incomplete at
    // the end of a piece again from its start with the next piece, so a long attribute or
    // comment fed in pieces of a fixed size costs the square of its length. While the pieces
    // bring no parse event, each is twice the one before: the rescans then add up to about
    // twice the token, and memory stays at the piece size while events keep coming.
    // Returns how many bytes were read; -1 when reading failed before any byte.
    qint64 FeedFile(QFile& file) {
        constexpr std::size_t kFirstPiece = 1 << 16;
        constexpr std::size_t kLargestPiece = 1 << 30;
        std::size_t piece = kFirstPiece;
        qint64 total = 0;
        while (!stopped_) {
            void* buffer = XML_GetBuffer(parser_.get(), int(piece));
            if (!buffer) {
                Stop();
                break;
            }
            const qint64 got = file.read(static_cast<char*>(buffer), qint64(piece));
            if (got < 0) return total > 0 ? total : -1;
            total += got;
            if (got == 0 && total == 0) break;
            const std::uint64_t eventsBefore = events_;
            if (XML_ParseBuffer(parser_.get(), int(got), got == 0) != XML_STATUS_OK) {
                Stop();
                break;
            }
            if (got == 0) {
                FlushText();
                break;
            }
            piece = events_ == eventsBefore ? std::min(piece * 2, kLargestPiece) : kFirstPiece;
        }
        return total;
    }

  private:
    struct ParserFree {
        void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
    };

    static TreeBuilder& Self(void* data) { return *static_cast<TreeBuilder*>(data); }

    static void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
        TreeBuilder& self = Self(data);
        self.MarkComplete();
        ++self.events_;
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
        self.MarkComplete();
        ++self.events_;
        if (!self.Keeps(--self.level_)) return;
        self.FlushText();
        self.current_ = self.current_->Parent;
    }

    static void OnText(void* data, const XML_Char* text, int length) {
        TreeBuilder& self = Self(data);
        ++self.events_;
        if (self.Keeps(self.level_)) self.CollectText(std::string_view(text, std::size_t(length)));
    }

    static void OnComment(void* data, const XML_Char* text) {
        TreeBuilder& self = Self(data);
        ++self.events_;
        if (!self.Keeps(self.level_)) return;
        self.FlushText();
        AppendXmlComment(self.current_, text);
    }

    static void OnInstruction(void* data, const XML_Char* target, const XML_Char* value) {
        TreeBuilder& self = Self(data);
        ++self.events_;
        if (!self.Keeps(self.level_)) return;
        self.FlushText();
        AppendXmlNode(self.current_, XmlKind::ProcessingInstruction, target, value);
    }

    // Where the bytes stand once the tag being handled is complete: after a syntax error, what
    // follows the last such place is what the tree does not hold.
    void MarkComplete() {
        completeUpTo_ = std::uint64_t(XML_GetCurrentByteIndex(parser_.get()) +
                                      XML_GetCurrentByteCount(parser_.get()));
    }

  public:
    std::uint64_t CompleteUpTo() const { return completeUpTo_; }

  private:
    // Whether a node at this depth (0: the top level) goes into the tree.
    bool Keeps(std::size_t depth) const { return depth <= keepDepth_; }

    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    // Text made only of blanks is layout and is dropped when it ends, so it is not piled up
    // meanwhile: of blanks that precede the first other character only the first
    // kKeptBlanks are kept, and memory stays flat however many blanks a file holds.
    static constexpr std::size_t kKeptBlanks = 1 << 16;

    void CollectText(std::string_view text) {
        if (textBlank_ && std::all_of(text.begin(), text.end(), IsBlank)) {
            if (text_.size() < kKeptBlanks)
                text_.append(text.substr(0, kKeptBlanks - text_.size()));
            return;
        }
        textBlank_ = false;
        text_.append(text);
    }

    void FlushText() {
        if (!textBlank_) AppendXmlNode(current_, XmlKind::Text, {}, text_);
        // A long text is not kept around in the capacity of the next one.
        if (text_.capacity() > kKeptBlanks) std::string().swap(text_);
        text_.clear();
        textBlank_ = true;
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
    bool textBlank_ = true; // text_ holds nothing but blanks (or nothing)
    bool stopped_ = false;
    std::uint64_t events_ = 0; // parse events so far, of any kind
    std::size_t keepDepth_;
    std::size_t level_ = 0; // elements open at this point of the parse, kept or not
    std::uint64_t completeUpTo_ = 0;
};

// Counts the start tags the tree does not hold, in the file from the given byte on.
void ScanUnreadTags(QFile& file, std::uint64_t from, XmlDocument& document) {
    constexpr qint64 kPiece = 1 << 20;
    StartTagScan scan;
    if (file.seek(qint64(from))) {
        QByteArray piece;
        while (!(piece = file.read(kPiece)).isEmpty())
            scan.Feed(std::string_view(piece.constData(), std::size_t(piece.size())));
    }
    document.UnreadStartTags = scan.Counts();
}

} // namespace

void ParseXml(std::string_view bytes, XmlDocument& document, std::size_t keepDepth) {
    TreeBuilder builder(document, keepDepth);
    builder.Feed(bytes.data(), bytes.size(), true);
    if (!document.SyntaxError) return;
    StartTagScan scan;
    scan.Feed(bytes.substr(std::min<std::size_t>(builder.CompleteUpTo(), bytes.size())));
    document.UnreadStartTags = scan.Counts();
}

bool ParseXmlFile(const QString& fileName, XmlDocument& document, std::size_t keepDepth) {
    // Only regular files: a directory has no content and a device or pipe might never end.
    if (!QFileInfo(fileName).isFile()) return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    TreeBuilder builder(document, keepDepth);
    const bool read = builder.FeedFile(file) > 0;
    if (document.SyntaxError) ScanUnreadTags(file, builder.CompleteUpTo(), document);
    return read;
}

} // namespace flow
