#include "editor/actions/ReplaceQuestion.h"

#include <QFileInfo>
#include <QMessageBox>

namespace flow {

bool AskToReplace(QWidget* parent, const QString& boxTitle, const QString& question) {
    QMessageBox box(QMessageBox::Warning, boxTitle, question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    // File names are text, never markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool MayReplaceFile(QWidget* parent, const QString& boxTitle, const QString& fileName) {
    const QFileInfo file(fileName);
    if (!file.exists() || !file.isFile()) return true;
    return AskToReplace(parent, boxTitle,
                        QStringLiteral("“%1” already exists. Replace it?").arg(file.fileName()));
}

} // namespace flow
