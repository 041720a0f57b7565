#pragma once

#include "PrintSpooler.h"
#include "PrinterChoice.h"

#include <QFile>
#include <QList>

#include <functional>

// Printers and a spooler as a test sets them: no system printer is asked and no job leaves.
struct FakePrinters final : PrinterCatalog {
    QStringList names;
    QString fallback;
    QStringList paperKeys{"A4", "A5", "Letter"};
    bool answering = true;

    FakePrinters(const QStringList &names = {}, const QString &fallback = {}) : names(names), fallback(fallback) {}

    QStringList printerNames() const override { return names; }
    QString defaultPrinter() const override { return fallback; }
    QStringList papers(const QString &) const override { return paperKeys; }
    QString defaultPaper(const QString &) const override { return QStringLiteral("A4"); }
    bool serviceAnswers() const override { return answering; }
};

// Keeps each job as it was handed over, the file's content read while the file was there.
struct FakeSpooler final : PrintSpooler {
    struct Job {
        QString printer, file, jobName;
        Options options;
        QByteArray content;
    };

    int refusal = 0; // the IPP status of a refusal; 0 takes every job
    QString refusalText;
    int state = 3; // the queue's IPP state: 3 idle, 5 paused
    QList<Job> jobs;
    std::function<void()> whileTaking; // run as the spooler takes a job

    int printFile(const QString &printer, const QString &file, const QString &jobName, const Options &options) override
    {
        if (whileTaking)
            whileTaking();
        QFile in(file);
        jobs.append({printer, file, jobName, options, in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray()});
        return refusal ? 0 : int(jobs.size());
    }
    int lastError() const override { return refusal; }
    QString lastErrorString() const override { return refusalText; }
    int printerState(const QString &) const override { return state; }
};
