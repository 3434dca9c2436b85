#include "app/controller/blg/BlgDetailViewController.h"

#include "app/model/blg/Blog.h"

BlgDetailViewController::BlgDetailViewController() = default;
BlgDetailViewController::BlgDetailViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
BlgDetailViewController::~BlgDetailViewController() = default;
