#include "app/controller/cms/CmsCommentDetailBottomBar.h"
