#include "app/controller/ans/AnsQuesListCell.h"
