function FindProxyForURL(url, host) {
  var direct = ["localhost", "*.corp.example"];
  for (var i = 0; i < direct.length; i++) if (shExpMatch(host, direct[i])) return "DIRECT";
  if (isPlainHostName(host) || dnsDomainIs(host, ".internal")) return "DIRECT";
  if (isInNet(dnsResolve(host), "10.0.0.0", "255.0.0.0")) return "DIRECT";
  if (weekdayRange("MON", "FRI") && timeRange(8, 18)) return "PROXY proxy.corp.example:8080; SOCKS socks:1080";
  if (dateRange("JAN", "MAR") || localHostOrDomainIs(host, "www")) return "PROXY a:1";
  return myIpAddress() + " " + dnsDomainLevels(host) + isResolvable(host);
}