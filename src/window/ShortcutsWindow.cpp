#include "ShortcutsWindow.h"

#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

TShortcutsWindow::TShortcutsWindow(const TLang& lang, QWidget* parent) : QDialog(parent) {
    setObjectName("FormShortcuts");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(lang.ExtraText(Ext::ShortcutsTitle));
    // The table is one text of the language file: "key|what it does" entries separated by ';'.
    const QStringList entries = lang.ExtraText(Ext::ShortcutsTable).split(';', Qt::SkipEmptyParts);
    Table = new QTableWidget(int(entries.size()), 2, this);
    Table->setObjectName("tblShortcuts");
    Table->setHorizontalHeaderLabels(
        {lang.ExtraText(Ext::ShortcutsKey), lang.ExtraText(Ext::ShortcutsAction)});
    Table->verticalHeader()->hide();
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < entries.size(); ++row) {
        const QStringList parts = entries[row].split('|');
        Table->setItem(row, 0, new QTableWidgetItem(parts.value(0).trimmed()));
        Table->setItem(row, 1, new QTableWidgetItem(parts.value(1).trimmed()));
    }
    Table->resizeColumnToContents(0);
    Table->horizontalHeader()->setStretchLastSection(true);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Table);
    resize(640, 480);
}
