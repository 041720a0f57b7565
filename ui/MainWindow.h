#pragma once

#include "ActivationTracker.h"
#include "DataSource.h"
#include "KnowledgeBaseWatch.h"
#include "MainLayout.h"
#include "MethodSelection.h"
#include "Ranking.h"
#include "RecordedSigns.h"
#include "SignSearch.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class CategoryMap;
class DatabaseError;
class ImportCommand;
class ItemList;
class ModalityChoice;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QStatusBar;
class QTimer;
class QToolBar;
class QWindow;
class AppSettings;

// frmMain: the body map on the left, the ranked syndromes above the recorded signs and the
// diagnosis methods on the right, under the toolbar and above the status bar. Frames are
// placed by the layout pass in twips; the toolbar and the status bar are ordinary
// children of the client area, so hiding one leaves its band empty, as designed.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    // Makes the window's toolbar as a child of `parent` (the client area, along whose top
    // edge the window places it); without one the toolbar is an empty QToolBar.
    using ToolBarFactory = std::function<QToolBar *(QWidget *parent)>;

    // The menu items, by the object names that tests and screen readers know them by.
    struct Actions {
        QAction *fileNew, *fileOpen, *fileSave, *fileRegenerer, *fileImporter, *filePageSetup, *filePrint,
            *fileExportPdf, *fileExit;
        QAction *editRechercher, *editCut, *editAnnuler, *editVerifier;
        QAction *viewToolbar, *viewStatusBar;
        QAction *gestionCarnet, *gestionVisites;
        QAction *helpContents, *helpAbout;
    };

    // `makeToolBar` makes the visit toolbar; `settings` stores the method choice; `stored`
    // is the choice read from it at start-up (MéthodeActive).
    MainWindow(const ToolBarFactory &makeToolBar, AppSettings &settings, const MethodTable &stored,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    ItemList *signes() const { return m_signes; }
    ItemList *syndromes() const { return m_syndromes; }
    DataSource &listeValeurs() { return m_listeValeurs; }
    DataSource &classement() { return m_classement; }
    CategoryMap *categoryMap() const { return m_map; }
    QToolBar *toolBar() const { return m_toolBar; }
    QStatusBar *statusBarWidget() const { return m_statusBar; }
    QCheckBox *methodBox(int method) const;
    // fileImporter is null in a build without the import.
    const Actions &actions() const { return m_actions; }
    // The chosen methods, index 1 to 5, 1 when chosen.
    const MethodTable &methods() const { return m_methods; }

    // Points both bound data sources at the knowledge base, the file now at `path` being
    // the one in use.
    void setDatabaseName(const QString &path);
    // Whether the file at the base's path is still the one in use; its generation tells
    // what is kept from the base (the search's word index) whether it is still the base's.
    const KnowledgeBaseWatch &baseWatch() const { return m_baseWatch; }
    // The program itself changed the base (its import, its rebuild): the data sources let go
    // of the file, and the file then at the base's path is the one in use.
    void baseChangedHere();
    // Run before a command reads the base (a dialog of signs, a print, a rebuild) and when
    // the window becomes active again: when another program has put another file at the
    // base's path, or taken it away, the window lets go of the former file, empties the
    // visit (its signs and ranking came from it) and says so; an Access file put there is
    // offered for conversion instead. True then, and the command goes no further: what it
    // would show and write must come from the same file.
    bool reopenIfReplaced();
    // The import that converts an Access file a command finds as the knowledge base.
    void setImportCommand(ImportCommand *import) { m_import = import; }

    // The ranking: refills Syndromes from Signes and the chosen methods. A database
    // failure is told to the practitioner and leaves the ranked list empty.
    void classerSyndromes();
    // Replaces the recorded signs (the selected sign stays selected while it is there) and
    // ranks them.
    void setRecordedSigns(const QList<ListEntry> &signs);
    // A cut or a new visit: the recorded signs become `remaining`, ranked; the signs they
    // lose can be brought back by "Annuler la suppression", until the next removal.
    void removeRecordedSigns(const QList<ListEntry> &remaining);
    // "Annuler la suppression": the signs the last removal took, back at their places, ranked.
    void bringBackRemovedSigns();
    // The base was rebuilt or replaced: the search reads it anew, and signs removed from
    // the visit before can no longer be brought back (they may mean nothing in it now).
    void knowledgeBaseChanged();
    // After the weights were rebuilt: each recorded sign shows the text and weight the base
    // now has for its number, a sign the base no longer weighs leaves the visit (told),
    // and the ranking runs again.
    void refreshRecordedSigns();

    // Opens the sign dialog on `choice` under `title`, loading it first; "Valider" records
    // the marks and ranks. A base that cannot be read is told, and no dialog opens.
    void openModalities(const QString &title, ModalityChoice choice);

    // Opens "Signes à vérifier" on the syndromes that lead the ranked list; "Valider"
    // records the marked signs and ranks. A base that cannot be read is told, and no window
    // opens.
    void openSignsToCheck();

    // A command met `error` on the knowledge base: when it is an Access file found there,
    // the import's offer is made (and its outcome told); otherwise it is told in French.
    void tellDatabaseFailure(const DatabaseError &error);
    // The first half of that: true when the import's offer was made for `error`, so that
    // nothing more is to be told.
    bool offerImport(const DatabaseError &error);

    // Gives the focus back to the window once another window of the program has closed;
    // becoming active again runs the ranking.
    void returnFromWindow();
    // A sign dialog run to its end: what it validated recorded (and ranked) when it changed
    // the visit.
    template <class SignDialog> void recordFrom(std::unique_ptr<SignDialog> dialog);

    // The session ends the program (logout): the window closes without asking.
    void endSession() { m_endingSession = true; }

protected:
    bool event(QEvent *event) override;
    // With signs recorded, closing asks first: the visit would be lost.
    void closeEvent(QCloseEvent *event) override;

private:
    void buildBars(const ToolBarFactory &makeToolBar);
    void buildMenus();
    void buildFileMenu();
    void buildFrames();
    MethodSelection::Hooks methodHooks();
    // Unticks the boxes of the methods stored as 0, as the window's creation step.
    void applyStoredMethods();
    void setDesignGeometry();
    void placeOnScreen();
    void layoutPass();
    void onWindowActivated(QWindow *focusWindow);
    void onMethodToggled(int method);
    void onCategoryClicked(int index, bool picture);
    // The cross look-ups, on entry `index` (double-clicked, or reached and given Enter).
    void onSignesDoubleClicked(int index);
    void onSyndromesDoubleClicked(int index);
    bool mayCloseVisit();
    void updateHints();
    // What hovering an entry of Syndromes or Signes tells.
    QString syndromeTip(int index);
    QString signTip(int index);
    void updateClock();

    AppSettings &m_settings;
    MethodTable m_methods;
    Actions m_actions{};
    ImportCommand *m_import = nullptr;
    MainLayout m_layout;
    bool m_miseEnPageFaite = false;
    QMargins m_placedFrame; // the frame the window was last placed with
    bool m_frameKnown = false;
    bool m_endingSession = false;
    ActivationTracker m_activation;
    RecordedSigns::Removed m_removed;

    QWidget *m_client = nullptr;
    QToolBar *m_toolBar = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_dateLabel = nullptr;
    QLabel *m_timeLabel = nullptr;
    QTimer *m_clock = nullptr;
    QGroupBox *m_carte = nullptr;
    QGroupBox *m_liste = nullptr;
    QGroupBox *m_symptomes = nullptr;
    QGroupBox *m_methodes = nullptr;
    CategoryMap *m_map = nullptr;
    ItemList *m_syndromes = nullptr;
    ItemList *m_signes = nullptr;
    QCheckBox *m_methodBoxes[6] = {};
    std::unique_ptr<MethodSelection> m_methodSelection;

    DataSource m_listeValeurs;
    DataSource m_classement;
    KnowledgeBaseWatch m_baseWatch;
    // The search's word index, kept from one opening to the next while the base is the same.
    SignSearchCache m_searchIndex;
};
