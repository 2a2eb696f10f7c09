// EngineNotice: a wrapped line of text and two buttons, centred in the pane.
#include "ui/page/engine_notice.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace moza::ui {

EngineNotice::EngineNotice(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("EngineNotice"));
    // Framed on the page's white, so the pane keeps its place in the window.
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    m_text = new QLabel(this);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignCenter);
    m_reload = new QPushButton(tr("Reload"), this);
    m_reload->setObjectName(QStringLiteral("reload"));
    m_art = new QPushButton(tr("Show as art"), this);
    m_art->setObjectName(QStringLiteral("showArt"));
    m_stop = new QPushButton(tr("Stop"), this);
    m_stop->setObjectName(QStringLiteral("stop"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_reload);
    buttons->addWidget(m_art);
    buttons->addWidget(m_stop);
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addStretch();
    column->addWidget(m_text);
    column->addLayout(buttons);
    column->addStretch();
    connect(m_reload, &QPushButton::clicked, this, &EngineNotice::reloadRequested);
    connect(m_art, &QPushButton::clicked, this, &EngineNotice::artRequested);
    connect(m_stop, &QPushButton::clicked, this, &EngineNotice::stopRequested);
    setFocusPolicy(Qt::StrongFocus);
}

void EngineNotice::setReason(const QString& reason, bool artAvailable) {
    m_loading = false;
    m_text->setText(tr("The browser engine stopped showing this page: %1.").arg(reason));
    m_reload->setVisible(true);
    m_art->setVisible(artAvailable);
    m_stop->setVisible(false);
}

void EngineNotice::setLoading(int percent) {
    m_loading = true;
    m_text->setText(tr("The browser engine is laying out the page (%1 %)...").arg(percent));
    m_reload->setVisible(false);
    m_art->setVisible(false);
    m_stop->setVisible(true);
}

void EngineNotice::keyPressEvent(QKeyEvent* event) {
    if (m_loading && event->key() == Qt::Key_Escape) {
        emit stopRequested();
        return;
    }
    QFrame::keyPressEvent(event);
}

QString EngineNotice::text() const { return m_text->text(); }

}  // namespace moza::ui
