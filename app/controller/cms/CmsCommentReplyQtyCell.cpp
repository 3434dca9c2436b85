#include "app/controller/cms/CmsCommentReplyQtyCell.h"
