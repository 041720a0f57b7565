#include "AboutDialog.h"

#include "AppVersion.h"
#include "Fonts.h"
#include "HelpResources.h"
#include "InfoLayout.h"
#include "InfoPicture.h"
#include "MessageBox.h"
#include "Registry.h"
#include "SystemInfoLauncher.h"
#include "Twips.h"
#include "VersionText.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

AboutDialog::AboutDialog(QWidget *parent, Registry *registry)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_registry(registry ? *registry : Registry::system())
{
    HelpResources::initialise();
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    // The box has no title text. Left empty, the title would be replaced by the window
    // system with the application's name; a blank is shown as it is.
    setWindowTitle(QStringLiteral(" "));
    setFixedSize(Twips::toPixels(7050, 4260));

    auto *icon = new InfoPicture(QStringLiteral(":/help/icons/logo.svg"), this);
    icon->setObjectName(QStringLiteral("picIcon"));
    Twips::place(icon, 360, 240, 1560, 2050);

    QLabel *title =
        InfoLayout::addLabel(this, "lblTitle", QString::fromUtf8(AppVersion::ProductName), Fonts::arial(26.25));
    InfoLayout::placeLabel(title, 2280, 240, 4485, 600);
    QLabel *version = InfoLayout::addLabel(this, "lblVersion", QStringLiteral("Version"), Fonts::arial(12, true));
    version->setText(VersionText::application());
    InfoLayout::placeLabel(version, 2280, 960, 4605, 225);
    QLabel *description = InfoLayout::addLabel(this, "lblDescription", Description, Fonts::arial(9, true));
    description->setWordWrap(true);
    InfoLayout::placeLabel(description, 2280, 1440, 4485, 450);
    QLabel *copyright = InfoLayout::addLabel(this, "lblCopyright", Copyright, Fonts::arial(8.25, false, true));
    InfoLayout::placeLabel(copyright, 2280, 1920, 4575, 255);
    QLabel *disclaimer = InfoLayout::addLabel(this, "lblDisclaimer", Disclaimer, Fonts::arial(8.25));
    disclaimer->setWordWrap(true);
    disclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    InfoLayout::placeLabel(disclaimer, 360, 2640, 4920, 1380);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    Twips::place(m_ok, 5520, 3240, 1260, 345);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *sysInfo = new QPushButton(QStringLiteral("Infos &système..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setAutoDefault(false);
    Twips::place(sysInfo, 5520, 3720, 1245, 345);
    connect(sysInfo, &QPushButton::clicked, this, &AboutDialog::startSysInfo);

    // Both buttons share one width, wide enough for "Infos système..." in the face the
    // platform gives buttons, and stay clear of the right edge.
    const int width =
        std::max({m_ok->width(), sysInfo->width(), m_ok->sizeHint().width(), sysInfo->sizeHint().width()});
    const int left = std::min(m_ok->x(), Twips::toPixels(7050 - 270) - width);
    m_ok->setGeometry(left, m_ok->y(), width, m_ok->height());
    sysInfo->setGeometry(left, sysInfo->y(), width, sysInfo->height());

    m_ok->setFocus();
}

void AboutDialog::reject()
{
    m_ok->click();
}

void AboutDialog::startSysInfo()
{
    // The message has no icon and the application's title.
    if (!SystemInfoLauncher(m_registry).startSysInfo())
        MessageBox::show(this, SystemInfoLauncher::UnavailableMessage, MessageBox::Buttons::Ok, MessageBox::Icon::None,
                         QString::fromLatin1(AppVersion::Title));
}
