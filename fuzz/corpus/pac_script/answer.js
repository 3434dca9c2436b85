PROXY p:3128; SOCKS5 s:1080; HTTPS h:443; DIRECT
function FindProxyForURL(u, h) { return /x+y/.test(u) ? "DIRECT" : "PROXY [::1]:99"; }