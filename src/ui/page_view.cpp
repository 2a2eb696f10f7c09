// PageView: placeholder that loads files directly; to be replaced by the code page 932 scheme.
#include "ui/page_view.h"

#include <QUrl>

namespace moza::ui {

void PreparePageEngine() {}

PageView::PageView(QWidget* parent) : QWebEngineView(parent) {}

void PageView::Navigate(const QString& path) {
    m_path = path;
    load(QUrl::fromLocalFile(path));
}

}  // namespace moza::ui
