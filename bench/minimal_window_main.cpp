// The reference of the start-up figure: the least a Qt Widgets program does to show one
// window of MainWindow's size, built by this project with its compiler and flags.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setObjectName("MinimalWindow");
  window.resize(698, 490);
  window.show();
  return QApplication::exec();
}
