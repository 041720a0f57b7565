#pragma once

#include <QString>

#include <stdexcept>

// The printer or the PDF file could not take the document. Carries where it went (the
// printer's name or the file's path); the command decides what the practitioner reads.
class PrintFailure : public std::runtime_error
{
public:
    enum class Stage {
        Start, // the job could not be opened (no such printer, file not writable)
        Page,  // a new page was refused
        Finish // the job could not be completed (file not written)
    };

    PrintFailure(Stage stage, QString target, bool toFile)
        : std::runtime_error("print failure"), m_stage(stage), m_target(std::move(target)), m_toFile(toFile)
    {}

    Stage stage() const { return m_stage; }
    const QString &target() const { return m_target; }
    bool toFile() const { return m_toFile; }

private:
    Stage m_stage;
    QString m_target;
    bool m_toFile;
};
