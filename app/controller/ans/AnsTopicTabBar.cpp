#include "app/controller/ans/AnsTopicTabBar.h"
