#pragma once

#include <QTranslator>

// The French words that Qt's own French translation lacks, for the toolkit's dialogs: the
// file dialog names a folder's kind "Folder" otherwise. Installed after Qt's translation, it
// is asked first and answers only for these words, leaving every other one to Qt's.
class ToolkitFrench final : public QTranslator
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ToolkitFrench)

public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
