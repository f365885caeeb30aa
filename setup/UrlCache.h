// Clearing of the WinINet URL cache.
#pragma once

// Deletes every cache entry that is not a cookie; false when the cache cannot be walked.
bool ClearUrlCache();
