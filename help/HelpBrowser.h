#pragma once

#include <QTimer>
#include <QWidget>

#include <memory>

class HelpSearch;
class HtmlView;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolBar;

// frmBrowser: the help window. A navigation toolbar, an address box with the history of the
// pages reached (most recent first, each address once), and the HTML view; the title follows
// the page shown, and reads "Traitement en cours..." while a page loads.
// "Démarrage" goes back to INDEX.HTM; "Rechercher" opens a search field under the address
// box, and the view lists, as the words are typed, the help pages that hold them.
// There is one window at a time, without owner; it is destroyed when the user closes it.
class HelpBrowser final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpBrowser)
    Q_PROPERTY(QString StartingAddress READ startingAddress WRITE setStartingAddress)

public:
    // Shows the help window: an open one is only shown again and raised, keeping its page and
    // history; otherwise a new one is created and goes to INDEX.HTM of `pageFolder`, the
    // folder of the help pages (the application folder, or an installation's data folder).
    static HelpBrowser *showHelp(const QString &pageFolder);
    // The open help window, or nullptr.
    static HelpBrowser *instance();

    ~HelpBrowser() override;

    // Overwritten when the window loads.
    QString startingAddress() const { return m_startingAddress; }
    void setStartingAddress(const QString &address) { m_startingAddress = address; }

    static inline const QString BusyTitle = QStringLiteral("Traitement en cours...");

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit HelpBrowser(QWidget *parent = nullptr);

    void buildToolBar();
    void buildAddressBox();
    void buildSearchPanel();
    void addButton(const QString &key, const QString &toolTip, const QString &icon);
    void load(const QString &pageFolder);
    void applyResizeRule();
    void onAddressSelected();
    void onButtonClicked(QAction *button);
    void onBusyTick();
    void onDownloadEnded();
    void onNavigationCompleted();
    void openSearch();
    void closeSearch();
    void showResults();

    QToolBar *m_toolBar;
    QWidget *m_addressPanel;
    QLabel *m_addressLabel;
    QComboBox *m_address;
    HtmlView *m_view;
    QWidget *m_searchPanel;
    QLineEdit *m_searchField;
    QTimer m_busyTimer{this};
    std::unique_ptr<HelpSearch> m_search;
    bool m_showingResults = false;

    QString m_startingAddress;
    bool m_navigationSuppressed = false;
};
