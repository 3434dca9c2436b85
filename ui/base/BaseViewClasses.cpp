#include "ui/base/BaseViewClasses.h"

#include "ui/base/BaseScrollView.h"
#include "ui/base/BaseTableView.h"
#include "ui/base/BaseTextField.h"
#include "ui/base/BaseTextView.h"
#include "ui/base/BaseUIImageView.h"

void registerBaseViewClasses() {
  BaseScrollView::registerForInterfaceFiles();
  BaseTableView::registerForInterfaceFiles();
  BaseTextField::registerForInterfaceFiles();
  BaseTextView::registerForInterfaceFiles();
  BaseUIImageView::registerForInterfaceFiles();
}
