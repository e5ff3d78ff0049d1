#include "app/mirvan_app.h"

int main(int argc, char** argv) {
  CMirvanApp theApp(argc, argv);
  return theApp.InitInstance();
}
