#include "app/controller/blg/BlgTopicViewController.h"

#include "app/controller/blg/BlgTopicTableViewController.h"
#include "app/controller/blg/BlgTopicViewControllerDelegate.h"

BlgTopicViewController::BlgTopicViewController() = default;
BlgTopicViewController::BlgTopicViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
BlgTopicViewController::~BlgTopicViewController() = default;

void BlgTopicViewController::viewDidLoad() { BlgBaseViewController::viewDidLoad(); }
void BlgTopicViewController::viewWillAppear(bool animated) { BlgBaseViewController::viewWillAppear(animated); }
void BlgTopicViewController::tableViewDidSelectRow(const pf::IndexPath&) {}
