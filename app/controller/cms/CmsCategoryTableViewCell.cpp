#include "app/controller/cms/CmsCategoryTableViewCell.h"
