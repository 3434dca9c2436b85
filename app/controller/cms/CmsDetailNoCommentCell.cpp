#include "app/controller/cms/CmsDetailNoCommentCell.h"
