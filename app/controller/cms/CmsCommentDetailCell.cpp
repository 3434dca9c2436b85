#include "app/controller/cms/CmsCommentDetailCell.h"
