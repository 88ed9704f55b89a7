#include "render/FindMatch.h"

#include "model/Inputs.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "render/NodeDrawing.h"

namespace flow {

namespace {

const QChar kMinus(0x2212);
const QChar kHairSpace(0x200A);
const QChar kScriptE(0x212F);

bool HasNumberMarks(const QString& text) {
    return text.contains(kMinus) || text.contains(kHairSpace) || text.contains(kScriptE);
}

QString Folded(const QString& text) {
    QString folded = text.toCaseFolded();
    folded.remove(kHairSpace);
    folded.replace(kMinus, QLatin1Char('-'));
    folded.replace(kScriptE, QLatin1Char('e'));
    return folded;
}

} // namespace

FindText::FindText(const QString& typed) : folded_(Folded(typed)) {}

bool FindText::In(const QString& shown) const {
    if (Empty()) return false;
    // Most texts carry no number marks: compared as they are, without a folded copy.
    if (!HasNumberMarks(shown)) return shown.contains(folded_, Qt::CaseInsensitive);
    return Folded(shown).contains(folded_);
}

bool Matches(const Node& node, const FindText& text) {
    if (node.Function && text.In(node.Function->Name)) return true;
    if (HoldsValue(node)) return text.In(ConstantText(node));
    return IsPin(node) && text.In(PinName(node));
}

bool Matches(const Comment& comment, const FindText& text) {
    return text.In(comment.Text);
}

} // namespace flow
