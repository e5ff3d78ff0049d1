// The yardstick for the bar's start-up: a bare Qt 6 dialog with nine
// widgets (eight buttons and a combo box), shown as the bar shows itself.
// scripts/bench times both side by side.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QPushButton>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Bare Qt dialog"));
  auto* grid = new QGridLayout(&dialog);
  for (int i = 0; i < 8; ++i) grid->addWidget(new QPushButton(QString::number(i + 1), &dialog), 0, i);
  auto* combo = new QComboBox(&dialog);
  combo->setEditable(true);
  grid->addWidget(combo, 1, 0, 1, 8);
  dialog.show();
  return app.exec();
}
