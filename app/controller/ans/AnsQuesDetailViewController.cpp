#include "app/controller/ans/AnsQuesDetailViewController.h"

#include "app/model/ans/QaQuestion.h"

AnsQuesDetailViewController::AnsQuesDetailViewController() = default;
AnsQuesDetailViewController::AnsQuesDetailViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
AnsQuesDetailViewController::~AnsQuesDetailViewController() = default;
