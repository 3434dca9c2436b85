#include "app/controller/cms/CmsCategoryCell.h"
