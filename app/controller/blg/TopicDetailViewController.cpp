#include "app/controller/blg/TopicDetailViewController.h"

TopicDetailViewController::TopicDetailViewController() = default;
TopicDetailViewController::TopicDetailViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
TopicDetailViewController::~TopicDetailViewController() = default;
