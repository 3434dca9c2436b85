#include "app/controller/cms/CmsCommentReplyCell.h"
