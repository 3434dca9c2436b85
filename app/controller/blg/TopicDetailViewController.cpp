#include "app/controller/blg/TopicDetailViewController.h"

TopicDetailViewController::TopicDetailViewController() = default;
TopicDetailViewController::TopicDetailViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
TopicDetailViewController::~TopicDetailViewController() = default;
