#include "gui/VexaAboutBox.h"

#include "shell/AboutInfo.h"
#include "version.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kWeb = QStringLiteral("https://ostravello.example/vexa");

QLabel *label(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

TVexaAboutBox::TVexaAboutBox(AboutInfo &info, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_info(info)
{
    setObjectName(QStringLiteral("VexaAboutBox"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(282, 321);
    setModal(true);

    // A coloured frame around a white panel.
    QPalette frame = palette();
    frame.setColor(QPalette::Window, QColor(0x3F, 0xA0, 0xDF));
    setPalette(frame);
    setAutoFillBackground(true);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    auto *panel = new QWidget(this);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    panel->setPalette(white);
    panel->setAutoFillBackground(true);
    outer->addWidget(panel);

    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setVerticalSpacing(3);
    QLabel *name = label(QStringLiteral("Vexa"), panel);
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    grid->addWidget(name, 0, 0, 1, 2);
    grid->addWidget(label(Version::companyName(), panel), 1, 0, 1, 2);
    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("IconLabel"));
    icon->setToolTip(QStringLiteral(" Hamradio around the world."));
    grid->addWidget(icon, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignTop);

    m_version = label(QString(), panel);
    m_version->setObjectName(QStringLiteral("VersionLabel"));
    grid->addWidget(m_version, 2, 0, 1, 3);
    m_notice = label(QString(), panel);
    m_notice->setObjectName(QStringLiteral("NoticeLabel"));
    m_notice->setWordWrap(true);
    QFont small = m_notice->font();
    small.setPointSize(qMax(6, small.pointSize() - 1));
    m_notice->setFont(small);
    grid->addWidget(m_notice, 3, 0, 1, 3);

    auto *mail = new QLabel(
        QStringLiteral("Email: <a href=\"mailto:%1\">%1</a>").arg(Version::authorMail()), panel);
    mail->setOpenExternalLinks(true);
    grid->addWidget(mail, 4, 0, 1, 3);
    auto *web = new QLabel(QStringLiteral("Aktuelles: <a href=\"%1\">%1</a>").arg(kWeb), panel);
    web->setOpenExternalLinks(true);
    grid->addWidget(web, 5, 0, 1, 3);

    // The versions entry, wrapped so that a long source note is shown whole.
    grid->addWidget(label(QStringLiteral("Fragen-\nversionen:"), panel), 6, 0, Qt::AlignTop);
    m_versions = new QListWidget(panel);
    m_versions->setObjectName(QStringLiteral("VersionenListBox"));
    m_versions->setWordWrap(true);
    m_versions->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_versions->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_versions->setToolTip(QStringLiteral(" Geladene Fragenversionen. Aktuelle gibts unter ") +
                           kWeb);
    grid->addWidget(m_versions, 6, 1, 1, 2);
    grid->setRowStretch(6, 2);

    grid->addWidget(label(QStringLiteral("Dank an:"), panel), 7, 0, Qt::AlignTop);
    auto *thanks = new QListWidget(panel);
    thanks->setObjectName(QStringLiteral("DankListBox"));
    thanks->addItems({QStringLiteral("Bundesnetzagentur (Prüfungsfragen)"),
                      QStringLiteral("Qt-Projekt"), QStringLiteral("libzip"),
                      QStringLiteral("giflib"), QStringLiteral("KaTeX"),
                      QStringLiteral("Alle, die Fehler melden")});
    thanks->setWordWrap(true);
    thanks->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    thanks->setSortingEnabled(true);
    thanks->sortItems();
    grid->addWidget(thanks, 7, 1, 1, 2);
    grid->setRowStretch(7, 1);

    QLabel *terms = label(QStringLiteral("Ohne Gewähr. Die amtlichen Fragen gelten."), panel);
    terms->setFont(small);
    terms->setWordWrap(true);
    grid->addWidget(terms, 8, 0, 1, 2, Qt::AlignBottom);
    auto *close = new QToolButton(panel);
    close->setObjectName(QStringLiteral("ExitSpeedButton"));
    close->setAutoRaise(true);
    close->setFixedSize(25, 25);
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setToolTip(QStringLiteral(" Zurück"));
    connect(close, &QToolButton::clicked, this, &TVexaAboutBox::ExitSpeedButtonClick);
    grid->addWidget(close, 8, 2, Qt::AlignRight | Qt::AlignBottom);
}

TVexaAboutBox::~TVexaAboutBox() = default;

int TVexaAboutBox::showModal()
{
    FormActivate();
    // Always centred on the screen.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return exec();
}

void TVexaAboutBox::FormActivate()
{
    // The program's icon, as the main window gives it.
    findChild<QLabel *>(QStringLiteral("IconLabel"))->setPixmap(windowIcon().pixmap(40, 40));
    m_info.FormActivate();
    m_version->setText(m_info.versionText());
    m_notice->setText(m_info.notice());
    m_versions->clear();
    m_versions->addItems(m_info.catalogueVersions());
    for (int i = 0; i < m_versions->count(); ++i)
        m_versions->item(i)->setToolTip(m_versions->item(i)->text());
}

void TVexaAboutBox::ExitSpeedButtonClick()
{
    accept();
}
