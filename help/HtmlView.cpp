#include "HtmlView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QStringDecoder>

namespace {

QString errorPage(const QString &address, const QString &reason)
{
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>Page introuvable</title></head>"
                          "<body style=\"font-family: sans-serif; margin: 12px;\">"
                          "<h2 style=\"color: #8a2e1e;\">Page introuvable</h2>"
                          "<p>%1</p>"
                          "<p>Adresse demandée&nbsp;: <b>%2</b></p>"
                          "<p>Vérifiez l'adresse saisie, ou revenez à la page précédente avec le bouton "
                          "«&nbsp;Précédent&nbsp;».</p>"
                          "</body></html>")
        .arg(reason, address.isEmpty() ? QStringLiteral("(vide)") : address.toHtmlEscaped());
}

bool isHtmlFile(const QFileInfo &file)
{
    const QString suffix = file.suffix().toLower();
    return suffix == QLatin1String("htm") || suffix == QLatin1String("html");
}

} // namespace

HtmlView::HtmlView(QWidget *parent) : QTextBrowser(parent)
{
    // Links are followed here, so that every page passes through the view's own history
    // and busy state.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    m_loadTimer.setSingleShot(true);
    connect(&m_loadTimer, &QTimer::timeout, this, &HtmlView::completeRequest);
    connect(this, &QTextBrowser::anchorClicked, this, &HtmlView::followLink);
}

void HtmlView::navigate(const QString &address)
{
    request(address, Move::New);
}

void HtmlView::goBack()
{
    if (m_madePageShown && m_historyIndex >= 0)
        request(m_history.at(m_historyIndex), Move::Return);
    else if (m_historyIndex > 0)
        request(m_history.at(m_historyIndex - 1), Move::Back);
}

void HtmlView::goForward()
{
    if (m_historyIndex >= 0 && m_historyIndex + 1 < m_history.size())
        request(m_history.at(m_historyIndex + 1), Move::Forward);
}

void HtmlView::goHome()
{
    if (!m_homeAddress.isEmpty())
        navigate(m_homeAddress);
}

void HtmlView::reload()
{
    if (m_historyIndex >= 0)
        request(m_history.at(m_historyIndex), Move::Reload);
}

void HtmlView::stop()
{
    m_loadTimer.stop();
    m_busy = false;
    m_pendingAddress.clear();
}

void HtmlView::showPage(const QString &html, const QUrl &base)
{
    stop();
    document()->setBaseUrl(base);
    setHtml(html);
    document()->setBaseUrl(base);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    m_madePageShown = true;
    m_locationUrl = base;
    m_locationName = documentTitle();
    m_locationAddress.clear();
}

QUrl HtmlView::urlFromAddress(const QString &address)
{
    if (address.isEmpty())
        return {};
    if (QDir::isAbsolutePath(address)) {
        QString path = QDir::fromNativeSeparators(address);
        QString fragment;
        const qsizetype hash = path.lastIndexOf(QLatin1Char('#'));
        if (hash > 0 && !QFileInfo::exists(path) && QFileInfo::exists(path.left(hash))) {
            fragment = path.mid(hash + 1);
            path.truncate(hash);
        }
        QUrl url = QUrl::fromLocalFile(path);
        if (!fragment.isEmpty())
            url.setFragment(fragment);
        return url;
    }
    return QUrl(address);
}

QString HtmlView::addressFromUrl(const QUrl &url)
{
    if (!url.isLocalFile())
        return url.toString();
    QString address = QDir::toNativeSeparators(url.toLocalFile());
    if (url.hasFragment())
        address += QLatin1Char('#') + url.fragment();
    return address;
}

void HtmlView::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    Q_UNUSED(type)
    followLink(name);
}

void HtmlView::request(const QString &address, Move move)
{
    emit navigationRequested(address);
    m_pendingAddress = address;
    m_pendingMove = move;
    m_busy = true;
    m_loadTimer.start(m_loadDelay);
}

void HtmlView::completeRequest()
{
    const QString address = std::exchange(m_pendingAddress, QString());
    const Move move = m_pendingMove;
    display(address);
    switch (move) {
    case Move::New:
        // Going again to the page shown makes no second history entry for it.
        if (m_historyIndex < 0 || m_history.at(m_historyIndex) != m_locationAddress) {
            m_history.resize(m_historyIndex + 1);
            m_history.append(m_locationAddress);
            m_historyIndex = m_history.size() - 1;
        }
        break;
    case Move::Back:
        --m_historyIndex;
        break;
    case Move::Forward:
        ++m_historyIndex;
        break;
    case Move::Reload:
    case Move::Return:
        break;
    }
    m_busy = false;
    // A reload is not a navigation: the view stays where it was.
    if (move != Move::Reload)
        emit navigationCompleted();
    emit downloadEnded();
}

void HtmlView::display(const QString &address)
{
    m_madePageShown = false;
    const QUrl url = urlFromAddress(address);
    if (url.isEmpty() || url.isRelative() || (url.isLocalFile() && url.toLocalFile().isEmpty())) {
        displayError(address, QStringLiteral("Cette adresse ne désigne aucune page."));
        return;
    }
    if (!url.isLocalFile()) {
        displayError(address, QStringLiteral("L'aide n'affiche que les pages enregistrées sur cet ordinateur."));
        return;
    }
    const QFileInfo info(url.toLocalFile());
    if (!isOwnPage(info)) {
        displayError(address, QStringLiteral("Cette adresse ne désigne aucune page de l'aide de Tessavor."));
        return;
    }
    QFile file(info.filePath());
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        displayError(address, QStringLiteral("Ce fichier n'existe pas ou ne peut pas être lu."));
        return;
    }
    const QByteArray data = file.readAll();

    const QUrl page = url.adjusted(QUrl::RemoveFragment);
    // Pictures and style sheets named relative to the page are found beside it.
    document()->setBaseUrl(page);
    if (isHtmlFile(info)) {
        QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
        if (!decoder.isValid())
            decoder = QStringDecoder(QStringDecoder::Utf8);
        setHtml(decoder.decode(data));
    } else {
        setPlainText(QString::fromUtf8(data));
    }
    document()->setBaseUrl(page);

    if (url.hasFragment()) {
        scrollToAnchor(url.fragment());
    } else {
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
    }
    m_locationUrl = url;
    m_locationAddress = addressFromUrl(url);
    m_locationName = documentTitle().isEmpty() ? info.fileName() : documentTitle();
}

void HtmlView::setPageFolder(const QString &folder)
{
    const QFileInfo info(folder);
    m_pageFolder = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
}

bool HtmlView::isOwnPage(const QFileInfo &file) const
{
    if (m_pageFolder.isEmpty())
        return true;
    // Where the file really lies, whatever the way the address took to it.
    const QString real = file.exists() ? file.canonicalFilePath() : QDir::cleanPath(file.absoluteFilePath());
    return isHtmlFile(file) && QFileInfo(real).absolutePath() == m_pageFolder;
}

void HtmlView::displayError(const QString &address, const QString &reason)
{
    document()->setBaseUrl(QUrl());
    setHtml(errorPage(address, reason));
    m_locationUrl = QUrl();
    m_locationAddress = address;
    m_locationName = documentTitle();
}

void HtmlView::followLink(const QUrl &link)
{
    const QUrl target = link.isRelative() && m_locationUrl.isValid() ? m_locationUrl.resolved(link) : link;
    navigate(addressFromUrl(target));
}
