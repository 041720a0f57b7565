#pragma once

#include <QFileInfo>
#include <QStringList>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

// The help window's HTML view: a text browser that goes to pages by address text and keeps
// its own history and home page, and shows pages the program makes, with a busy state and
// two notifications in the manner of an embedded web view.
//
// A request only makes the view busy; the page is read and shown on a later turn of the
// event loop (after loadDelay milliseconds), then the view is idle again and reports
// navigationCompleted and downloadEnded. Callers therefore poll isBusy() exactly as they
// would with a view that downloads. A newer request replaces one still pending.
//
// Addresses: an absolute path of the platform ("/x/y/INDEX.HTM", "C:\x\INDEX.HTM",
// optionally followed by "#anchor") or a file URL. Anything else, a file that cannot be
// read, and, once a page folder is set, any file but the pages of that folder, shows the
// view's own error page; no message box is ever shown. The location address of a local page
// is its path as the platform writes it.
class HtmlView final : public QTextBrowser
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HtmlView)
    Q_PROPERTY(QString homeAddress READ homeAddress WRITE setHomeAddress)
    Q_PROPERTY(int loadDelay READ loadDelay WRITE setLoadDelay)

public:
    explicit HtmlView(QWidget *parent = nullptr);

    // Goes to the address exactly as given: no trimming, no scheme or folder completed.
    void navigate(const QString &address);
    void goBack();
    void goForward();
    // The view's own home page; while unset (the default) this does nothing.
    void goHome();
    void reload() override;
    // Drops a pending request; the page shown stays.
    void stop();
    // Shows a page the program made (the search's results) at once: it has no address and
    // no place in the history, its links are read against `base`, and going back from it
    // returns to the page it replaced.
    void showPage(const QString &html, const QUrl &base);

    bool isBusy() const { return m_busy; }
    // The page's title, or its file name when it has none; empty before the first page.
    QString locationName() const { return m_locationName; }
    QString locationAddress() const { return m_locationAddress; }

    QString homeAddress() const { return m_homeAddress; }
    void setHomeAddress(const QString &address) { m_homeAddress = address; }
    int loadDelay() const { return m_loadDelay; }
    // The folder whose HTML pages alone the view shows (and the pages the program makes):
    // a link or an address leading elsewhere, by "..", a symbolic link or an absolute path,
    // shows the error page. Unset, every local page is shown.
    void setPageFolder(const QString &folder);
    void setLoadDelay(int milliseconds) { m_loadDelay = qMax(0, milliseconds); }

    // The page an address text stands for: a file URL for a local path (the text's part
    // after a '#' becomes the fragment when only the part before it names a file), the
    // text parsed as a URL otherwise; empty for an empty text.
    static QUrl urlFromAddress(const QString &address);
    // The address text the view reports for a page it has shown.
    static QString addressFromUrl(const QUrl &url);

    // The text browser's own navigation (keyboard, links) goes through the view's history.
    void backward() override { goBack(); }
    void forward() override { goForward(); }
    void home() override { goHome(); }

signals:
    // A request was made, before anything is loaded.
    void navigationRequested(const QString &address);
    void navigationCompleted();
    void downloadEnded();

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;

private:
    // Return: back to the history's current page from a page the program made.
    enum class Move { New, Back, Forward, Reload, Return };

    void request(const QString &address, Move move);
    void completeRequest();
    void display(const QString &address);
    void displayError(const QString &address, const QString &reason);
    bool isOwnPage(const QFileInfo &file) const;
    void followLink(const QUrl &link);

    QTimer m_loadTimer;
    int m_loadDelay = 0;
    bool m_busy = false;
    QString m_pendingAddress;
    Move m_pendingMove = Move::New;

    QStringList m_history;
    qsizetype m_historyIndex = -1;

    bool m_madePageShown = false;
    QUrl m_locationUrl;
    QString m_locationName;
    QString m_locationAddress;
    QString m_homeAddress;
    QString m_pageFolder; // canonical, or empty for none
};
