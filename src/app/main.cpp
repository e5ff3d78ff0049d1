// PLACEHOLDER (UI owner replaces this file with CMirvanApp start-up)
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label("Mirvan: Drag & Drop TeX file");
  label.show();
  return app.exec();
}
